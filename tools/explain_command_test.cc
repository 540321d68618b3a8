#include "tools/explain_command.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "compiler/compile_fixture.h"
#include "scripts/builtin_scripts.h"

namespace scenario {
namespace {

struct Uscita {
  int stato;
  std::string out, err;
};

Uscita esegui(const std::string& argomento) {
  std::ostringstream out, err;
  const int stato = spiega(argomento, out, err);
  return {stato, out.str(), err.str()};
}

/// Every record the compiler's readers know, by their keyword tables.
std::vector<const RecordRiferimento*> record_del_compilatore() {
  std::vector<const RecordRiferimento*> tutti;
  for (const auto& v : kTabellaGenerale) tutti.push_back(&riferimento(v.record));
  for (const auto& v : kTabellaLinea) tutti.push_back(&riferimento(v.record));
  for (const auto& v : kTabellaTreno) tutti.push_back(&riferimento(v.record));
  return tutti;
}

TEST(Explain, EveryRecordNamesEachField) {
  for (const RecordRiferimento* r : record_del_compilatore()) {
    SCOPED_TRACE(std::string(r->nome));
    const Uscita u = esegui(std::string(r->nome));
    ASSERT_EQ(u.stato, 0) << u.err;
    EXPECT_EQ(u.err, "");
    EXPECT_EQ(u.out, markdown_record(*r));
    EXPECT_NE(u.out.find(r->esempio), std::string::npos);
    int n = 0;
    for (const CampoRecord& c : r->campi) {
      const std::string riga = "| " + std::to_string(++n) + " | `" + std::string(c.nome) + "`: ";
      EXPECT_NE(u.out.find(riga), std::string::npos) << riga;
    }
  }
}

TEST(Explain, EveryCodeByNumberAndByName) {
  for (std::int32_t c : {1,  2,  3,  4,  5,  6,  7,  8,  9,  10,  11,  12,  13,   15,
                         16, 17, 18, 19, 20, 21, 22, 24, 25, 101, 102, 103, 1250, 1251}) {
    SCOPED_TRACE(c);
    const Uscita u = esegui(std::to_string(c));
    ASSERT_EQ(u.stato, 0) << u.err;
    EXPECT_NE(u.out.find(significato_codice(c)), std::string::npos) << u.out;
    EXPECT_NE(u.out.find("How to fix: "), std::string::npos) << u.out;
    EXPECT_NE(u.out.find("Example"), std::string::npos) << u.out;
    EXPECT_EQ(esegui(std::string(nome_codice(c))).out, u.out);
  }
}

// Each code the reference cites for a field is one the compiler explains.
TEST(Explain, CodesCitedByTheReferenceExist) {
  for (const RecordRiferimento& r : riferimento_record()) {
    for (const CampoRecord& c : r.campi) {
      for (std::int32_t codice : {c.codice_intervallo, c.codice_multiplo}) {
        if (codice != 0) {
          EXPECT_NE(spiegazione_codice(codice), nullptr) << r.nome << " " << c.nome;
        }
      }
    }
  }
}

TEST(Explain, WhatTheArgumentMayBe) {
  struct Caso {
    std::string argomento;
    int stato;
    std::string in_out;  ///< a piece of standard output
    std::string in_err;  ///< a piece of standard error
  } casi[] = {
      {"16", 0, "### 16 `signal-cell-taken`", ""},
      {" 16 ", 0, "### 16 `signal-cell-taken`", ""},
      {"SIGNAL-CELL-TAKEN", 0, "### 16 `signal-cell-taken`", ""},
      {"Stazione", 0, "### `stazione`: station", ""},
      {"curvas4", 0, "### `curva`: curve", ""},
      {"VELOCITA", 0, "### `velocita`: line speed", ""},
      {"ripetizione segnali 9 codici", 0, "### `ripetizione segnali`", ""},
      {"--markdown", 0, "# The script language", ""},
      {"--help", 0, "usage: scenario_tool explain", ""},
      // A keyword field the reader takes for two records explains both.
      {"pendenza montagna", 0, "### `montagna`", ""},
      {"stazoine", 2, "",
       "\"stazoine\" is neither an error code, a code name nor a record "
       "keyword; did you mean \"stazione\"?"},
      {"curvx4", 2, "", "did you mean \"curva\"?"},
      {"signal-cell-tken", 2, "", "did you mean \"signal-cell-taken\"?"},
      // A record's name in any case; its explanation says the reader's test is exact.
      {"Sfondo uno", 0, "\"sfondo\" and \"uno\" (exact case)", ""},
      {"xyzzy", 2, "", "record keyword\n"},
      {std::string(100000, 'x'), 2, "", "record keyword\n"},
      {"14", 2, "", "no error code 14; the codes are 1, 2, 3,"},
      {"99999999999", 2, "", "is neither"},
      {"", 2, "", "usage: scenario_tool explain"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.argomento);
    const Uscita u = esegui(c.argomento);
    EXPECT_EQ(u.stato, c.stato) << u.err;
    EXPECT_NE(u.out.find(c.in_out), std::string::npos) << u.out;
    EXPECT_NE(u.err.find(c.in_err), std::string::npos) << u.err;
    EXPECT_EQ(c.stato == 0 ? u.err : u.out, "");
  }
}

/// The numbers of a built-in script line: its value fields split at
/// commas and blanks, an empty one read as 0.
std::vector<std::int64_t> numeri(std::string_view riga) {
  std::vector<std::int64_t> v;
  std::size_t i = riga.find(',');
  while (i != std::string_view::npos) {
    const std::size_t fine = riga.find(',', i + 1);
    const std::string campo(
        riga.substr(i + 1, fine == std::string_view::npos ? fine : fine - i - 1));
    v.push_back(std::strtoll(campo.c_str(), nullptr, 10));
    i = fine;
  }
  return v;
}

/// What field `nome` of `r` stores for the values `v`.
std::int64_t memorizzato(const RecordRiferimento& r, std::string_view nome,
                         const std::vector<std::int64_t>& v) {
  const CampoRecord* c = campo_per_nome(r, nome);
  EXPECT_NE(c, nullptr) << nome;
  if (!c) return -1;
  const ValoreMemorizzato m =
      valore_memorizzato(r, static_cast<std::size_t>(c - r.campi.data()), v);
  EXPECT_TRUE(m.presente && !m.fallisce) << nome;
  return m.valore;
}

// The reference must say what the compiler does: each built-in signal,
// board pair and slowdown, as the reference stores it, is found in the
// cells the compiler wrote.
TEST(Explain, ReferenceAgreesWithTheCompiledBuiltInScenario) {
  std::vector<std::string_view> righe(kScriptLinea.begin(), kScriptLinea.end());
  righe.insert(righe.end(), kScriptTreno.begin(), kScriptTreno.end());
  std::string linea, treno;
  for (std::string_view riga : kScriptLinea) linea += std::string(riga) + "\r\n";
  for (std::string_view riga : kScriptTreno) treno += std::string(riga) + "\r\n";
  const StatoCompilazione stato = compila(linea, treno);
  ASSERT_EQ(stato.codice_errore, 0);
  const RecordRiferimento& segnale = riferimento(RecordTreno::segnale);
  const RecordRiferimento& tavole = riferimento(RecordLinea::indicatori_v_max);
  const RecordRiferimento& rallentamento = riferimento(RecordTreno::rallentamento);
  int visti = 0;
  for (std::string_view riga : righe) {
    const std::vector<const RecordRiferimento*> r =
        record_per_chiave(riga.substr(0, riga.find(',')));
    if (r.size() != 1) continue;
    const std::vector<std::int64_t> v = numeri(riga);
    SCOPED_TRACE(std::string(riga));
    if (r[0] == &segnale) {
      const Cella& c = stato.celle.at(memorizzato(segnale, "posizione", v));
      EXPECT_EQ(c.tipo, tipo_cella::segnale);
      EXPECT_EQ(c.dato1, memorizzato(segnale, "s1", v));
      EXPECT_EQ(c.dato2, memorizzato(segnale, "d2", v));
      EXPECT_EQ(c.dato3, memorizzato(segnale, "s3", v));
      EXPECT_EQ(c.dato4, memorizzato(segnale, "dx", v));
      EXPECT_EQ(c.tempo, memorizzato(segnale, "tempo", v));
      ++visti;
    } else if (r[0] == &tavole) {
      const Cella& c = stato.celle.at(memorizzato(tavole, "posizione", v));
      EXPECT_EQ(c.tipo, tipo_cella::indicatori_v_max);
      EXPECT_EQ(c.dato1, memorizzato(tavole, "vas", v));
      EXPECT_EQ(c.dato2, memorizzato(tavole, "vbd", v));
      EXPECT_EQ(c.dato3, memorizzato(tavole, "vcs", v));
      EXPECT_EQ(c.dato4, memorizzato(tavole, "strisced", v));
      ++visti;
    } else if (r[0] == &rallentamento) {
      const Cella& inizio = stato.celle.at(memorizzato(rallentamento, "x", v));
      const Cella& fine = stato.celle.at(memorizzato(rallentamento, "l", v));
      EXPECT_EQ(inizio.tipo, tipo_cella::inizio_rallentamento);
      EXPECT_EQ(fine.tipo, tipo_cella::fine_rallentamento);
      EXPECT_EQ(inizio.dato1, memorizzato(rallentamento, "v", v));
      EXPECT_EQ(fine.dato3, memorizzato(rallentamento, "f_tt", v));
      ++visti;
    }
  }
  EXPECT_EQ(visti, 12 + 10 + 1);
}

/// docs/script-language.md in the source tree.
std::filesystem::path percorso_documento() {
  return std::filesystem::path(__FILE__).parent_path().parent_path() / "docs" /
         "script-language.md";
}

// The committed reference is the generated one. With SCENARIO_AGGIORNA_DOCS
// set, the test writes it instead.
TEST(Explain, CommittedReferenceIsTheGeneratedOne) {
  const std::string generato = riferimento_markdown();
  const std::filesystem::path percorso = percorso_documento();
  if (std::getenv("SCENARIO_AGGIORNA_DOCS") != nullptr) {
    std::ofstream(percorso, std::ios::binary) << generato;
  }
  std::ifstream in(percorso, std::ios::binary);
  ASSERT_TRUE(in) << "cannot read " << percorso;
  const std::string committato(std::istreambuf_iterator<char>(in), {});
  if (committato == generato) return;
  std::istringstream a(committato), b(generato);
  std::string x, y;
  int riga = 1;
  while (std::getline(a, x) && std::getline(b, y) && x == y) ++riga;
  ADD_FAILURE() << percorso << " differs from the reference tables from line " << riga
                << ":\n  committed: " << x << "\n  generated: " << y
                << "\nRegenerate it: scenario_tool explain --markdown > docs/script-language.md";
}

}  // namespace
}  // namespace scenario
