#include "tools/lsp_compiler_analyzer.h"

#include <gtest/gtest.h>

#include <string>

#include "scripts/builtin_scripts.h"

namespace scenario {
namespace {

template <std::size_t N>
std::string testo(const std::array<std::string_view, N>& righe) {
  std::string t;
  for (std::string_view r : righe) (t += r) += "\r\n";
  return t;
}

const std::string kLinea = testo(kScriptLinea);
const std::string kTreno = testo(kScriptTreno);

/// `testo` with the first `da` replaced by `a`.
std::string con(std::string testo, const std::string& da, const std::string& a) {
  testo.replace(testo.find(da), da.size(), a);
  return testo;
}

TEST(AnalizzatoreCompilatore, TheCompilersCodesOnTheLinesOfTheirRecords) {
  AnalizzatoreCompilatore a;
  // The built-in scenario compiles; the check warns about its timetable.
  const std::vector<Problema> pulito = a.problemi(kLinea, kTreno, "L", "T");
  ASSERT_EQ(pulito.size(), 1u);
  EXPECT_EQ(pulito[0].gravita, Gravita::avviso);
  EXPECT_EQ(pulito[0].nome, "timetable-order");
  EXPECT_TRUE(a.problemi(kLinea, "", "L", "").empty()) << "the line script alone";

  struct Caso {
    const char* nome;
    std::string linea, treno;
    const char* uri;
    int riga;
    std::int32_t codice;
  };
  const Caso casi[] = {
      {"station off the 50 m grid", kLinea, con(kTreno, "66600", "66620"), "T", 27, 8},
      {"a comma for a number", kLinea, con(kTreno, "sabbia,    300", "sabbia,    3x0"), "T", 4, 25},
      {"route too long", con(kLinea, "103000", "2000000"), kTreno, "L", 2, 1},
      {"curve without class", con(kLinea, "curvad3,  5100", "curvad,  5100"), kTreno, "L", 13, 103},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    std::vector<Problema> p = a.problemi(c.linea, c.treno, "L", "T");
    std::erase_if(p, [](const Problema& x) { return x.gravita == Gravita::avviso; });
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].uri, c.uri);
    EXPECT_EQ(p[0].riga, c.riga);
    EXPECT_EQ(p[0].codice, c.codice);
    EXPECT_EQ(p[0].gravita, Gravita::errore);
  }
}

TEST(AnalizzatoreCompilatore, HoverNamesTheRecordAndTheField) {
  AnalizzatoreCompilatore a;
  // Line 27: "stazione,   66600,  4,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,  14,25, 0, NOVARA"
  const std::pair<int, std::string> casi[] = {
      {1, "Record `stazione`: 17 value fields"},
      {13, "Record `stazione`, field 1 of 17: `66600`"},
      {25, "Record `stazione`, field 3 of 17: `500`"},
      {75, "Record `stazione`, field 17 of 17: `NOVARA`"},
  };
  for (const auto& [colonna, atteso] : casi) {
    SCOPED_TRACE(colonna);
    const std::optional<Descrizione> d = a.descrizione(kTreno, TipoScript::treno, 27, colonna);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->testo.substr(0, atteso.size()), atteso);
  }
  // The clock's numbers stand apart by blanks alone.
  const std::optional<Descrizione> d = a.descrizione(kTreno, TipoScript::treno, 5, 30);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->testo.substr(0, d->testo.find('\n')), "Record `orologio`, field 2 of 3: `24`");
  EXPECT_FALSE(a.descrizione(kTreno, TipoScript::treno, 1, 2)) << "a header";
}

TEST(AnalizzatoreCompilatore, KeywordsOfTheScriptsLanguageAtTheStartOfALine) {
  AnalizzatoreCompilatore a;
  const Proposte linea = a.proposte("  pen", TipoScript::linea, 1, 6);
  EXPECT_EQ(linea.colonna, 3);
  EXPECT_EQ(linea.colonna_fine, 6);
  std::vector<std::string> parole;
  for (const Proposta& p : linea.voci) parole.push_back(p.etichetta);
  EXPECT_EQ(parole,
            (std::vector<std::string>{
                "lunghezza percorso", "progressiva chilometrica tre",
                "progressiva chilometrica due", "progressiva chilometrica uno", "sfondo uno",
                "sfondo due", "sfondo tre", "ripetizione segnali 4 codici", "pendenza", "curvas4",
                "montagna", "indicatori_vmax", "cartello_indicatore"}));
  EXPECT_EQ(a.proposte("segnale, 1", TipoScript::treno, 1, 11).voci.size(), 0u)
      << "not in the keyword field";
  EXPECT_EQ(a.proposte("", TipoScript::treno, 1, 1).voci.size(), 10u);
  EXPECT_TRUE(a.proposte("", TipoScript::altro, 1, 1).voci.empty()) << "not a script";
}

TEST(AnalizzatoreCompilatore, OutlineOfStationsSignalsAndBoards) {
  AnalizzatoreCompilatore a;
  const std::vector<Simbolo> treno = a.simboli(kTreno, TipoScript::treno);
  ASSERT_EQ(treno.size(), 22u);
  EXPECT_EQ(treno[9].nome, "DERVO");
  EXPECT_EQ(treno[9].tipo, TipoSimbolo::stazione);
  EXPECT_EQ(treno[21].nome, "signal at 101450 m");
  const std::vector<Simbolo> linea = a.simboli(kLinea, TipoScript::linea);
  ASSERT_FALSE(linea.empty());
  const auto cartello = std::find_if(linea.begin(), linea.end(), [](const Simbolo& s) {
    return s.dettaglio == "indicator board, 350 m";
  });
  ASSERT_NE(cartello, linea.end());
  EXPECT_EQ(cartello->nome, "(ponte fiume)(T A N A R O)");
}

}  // namespace
}  // namespace scenario
