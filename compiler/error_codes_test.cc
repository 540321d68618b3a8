#include "compiler/error_codes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "compiler/compile_fixture.h"

namespace scenario {
namespace {

constexpr std::int32_t kCodici[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10,  11,  12,  13,   15,
                                    16, 17, 18, 19, 20, 21, 22, 24, 25, 101, 102, 103, 1250, 1251};

TEST(ErrorCodes, EveryCodeHasAMeaning) {
  for (int c : kCodici) {
    EXPECT_STRNE(significato_codice(c), "unknown code") << c;
  }
  EXPECT_STREQ(significato_codice(14), "unknown code");
}

TEST(ErrorCodes, EveryCodeIsExplainedUnderAShortName) {
  ASSERT_EQ(spiegazioni_codici().size(), std::size(kCodici));
  std::set<std::string_view> nomi;
  std::int32_t precedente = 0;
  for (const SpiegazioneCodice& s : spiegazioni_codici()) {
    SCOPED_TRACE(s.codice);
    EXPECT_GT(s.codice, precedente);
    precedente = s.codice;
    EXPECT_TRUE(nomi.insert(s.nome).second) << s.nome;
    // kebab-case: lower-case words joined by single hyphens.
    EXPECT_FALSE(s.nome.empty());
    EXPECT_NE(s.nome.front(), '-');
    EXPECT_NE(s.nome.back(), '-');
    EXPECT_EQ(s.nome.find("--"), std::string_view::npos);
    for (char c : s.nome) {
      EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-') << s.nome;
    }
    EXPECT_FALSE(s.causa.empty());
    EXPECT_FALSE(s.rimedio.empty());
    EXPECT_FALSE(s.esempio.empty());
    EXPECT_EQ(spiegazione_per_nome(s.nome), &s);
    EXPECT_EQ(nome_codice(s.codice), s.nome);
  }
  EXPECT_EQ(spiegazione_per_nome("Signal-Cell-Taken"), spiegazione_codice(16));
  EXPECT_EQ(spiegazione_per_nome("signal"), nullptr);
  EXPECT_EQ(nome_codice(14), "");
}

/// `testo`'s lines ended by CR LF.
std::string crlf(std::string_view testo) {
  std::string s;
  for (char c : testo) {
    if (c == '\n') s += '\r';
    s += c;
  }
  return s + "\r\n";
}

/// The code a compile of the explanation's example ends with.
std::int32_t codice_dell_esempio(const SpiegazioneCodice& s) {
  const std::string linea_vuota = script_linea(20000);
  const std::string treno_vuoto = script_treno();
  std::string linea = linea_vuota, treno = treno_vuoto;
  switch (s.luogo) {
    case LuogoEsempio::script_linea:
      linea = crlf(s.esempio);
      break;
    case LuogoEsempio::corpo_linea:
      linea = script_linea(20000, crlf(s.esempio));
      break;
    case LuogoEsempio::corpo_treno:
      treno = script_treno(crlf(s.esempio));
      break;
    case LuogoEsempio::senza_script_linea:
    case LuogoEsempio::solo_testo:
      break;
  }
  Esito esito;
  const StatoCompilazione stato =
      compila(s.luogo == LuogoEsempio::senza_script_linea ? nullptr : linea.c_str(), treno.c_str(),
              true, &esito);
  if (esito == Esito::errore_1250) return codice::marcatore_cella_1;
  if (esito == Esito::errore_1251) return codice::codice_cella_1;
  return stato.codice_errore;
}

// What `scenario_tool explain CODE` shows as an example must really end a
// compile with that code.
TEST(ErrorCodes, EachExampleRaisesItsCode) {
  for (const SpiegazioneCodice& s : spiegazioni_codici()) {
    SCOPED_TRACE(std::to_string(s.codice) + "\n" + std::string(s.esempio));
    if (s.luogo == LuogoEsempio::solo_testo) {
      // Too long to write out: 77 indicator boards and two stations.
      ASSERT_EQ(s.codice, codice::tabella_piena);
      std::string cartelli;
      for (int b = 0; b < 77; ++b) {
        cartelli += "cartello_indicatore, " + std::to_string(1000 + 100 * b) + ", (km)\r\n";
      }
      const std::string alfa = "stazione, 12000, 26, 300, 0,0,0, 0,0,0, 0,0,0, 0, 8,0,0, ALFA";
      const std::string beta = "stazione, 16000, 26, 300, 0,0,0, 0,0,0, 0,0,0, 0, 8,5,0, BETA";
      const std::string linea = script_linea(20000, cartelli);
      EXPECT_EQ(compila(linea, script_treno(righe({alfa}))).codice_errore, 0);
      EXPECT_EQ(compila(linea, script_treno(righe({alfa, beta}))).codice_errore, s.codice);
      continue;
    }
    EXPECT_EQ(codice_dell_esempio(s), s.codice);
  }
}

}  // namespace
}  // namespace scenario
