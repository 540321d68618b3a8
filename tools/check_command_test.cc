#include "tools/check_command.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "base/file_names.h"
#include "base/memory_file_system.h"
#include "base/testing/temporary_folder.h"
#include "scripts/builtin_scripts.h"
#include "tools/diagnostic_printer.h"

namespace scenario {
namespace {

constexpr const char* kCartella = "/scenari";

/// The built-in scripts in `kCartella`, the train script replaced by
/// `treno` when given.
MemoryFileSystem scenario_in_memoria(const std::string& treno = "") {
  MemoryFileSystem fs;
  std::string err;
  dati_linea(fs, kCartella, kNomePercorso, &err);
  dati_treno(fs, kCartella, kNomePercorso, kNumeroTreno, &err);
  if (!treno.empty()) {
    fs.files()[percorso_in(kCartella, nome_script_treno(kNomePercorso, kNumeroTreno))] = treno;
  }
  return fs;
}

OpzioniCheck opzioni() {
  OpzioniCheck o;
  o.cartella = kCartella;
  o.percorso = kNomePercorso;
  o.treno = kNumeroTreno;
  return o;
}

/// A train script with two errors and two warnings, one for a name in
/// UTF-8.
const std::string kTrenoRotto =
    "[generale]\r\n"
    "velocita, 0, 80\r\n"
    "aderenza, 0, 100\r\n"
    "segnale, 5000, 1, 5, 1, 0, 0, 0, 0,0,0, 0\r\n"
    "segnale, 5010, 1, 5, 1, 0, 0, 0, 0,0,0, 0\r\n"
    "velocita, 6000, 120.5\r\n"
    "stazoine, 66600, 4, 500, 1, 0, 0, 4,1,0, 2,1,1, 1, 14,25, 0, NOVARA\r\n"
    "stazione, 66600, 4, 500, 1, 0, 0, 4,1,0, 2,1,1, 1, 14,25, 0, CITT\xC3\x80\r\n"
    "[fine]\r\n";

TEST(CheckCommand, ExitStatusSaysWhetherThereAreErrors) {
  struct Caso {
    const char* nome;
    std::string treno;
    int stato;
    const char* in_err;
  };
  const std::vector<Caso> casi = {
      {"built-in: one warning", "", 0, "0 errors, 1 warning\n"},
      {"errors", kTrenoRotto, 1, "2 errors, 2 warnings\n"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    MemoryFileSystem fs = scenario_in_memoria(c.treno);
    std::ostringstream out, err;
    EXPECT_EQ(comando_check(opzioni(), fs, out, err), c.stato);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find(c.in_err), std::string::npos) << err.str();
  }
}

TEST(CheckCommand, UsageAndUnreadableScriptsAreExitTwo) {
  MemoryFileSystem fs = scenario_in_memoria();
  fs.files().erase(percorso_in(kCartella, nome_script_treno(kNomePercorso, kNumeroTreno)));
  std::ostringstream out, err;
  EXPECT_EQ(comando_check(opzioni(), fs, out, err), 2);
  EXPECT_EQ(err.str(),
            "scenario_tool check: cannot read /scenari/Zembrastina_Dervo_47716-.txt: No such "
            "file or directory\n");

  MemoryFileSystem intero = scenario_in_memoria();
  OpzioniCheck o = opzioni();
  o.avvisi_spenti = {"timetable-order", "no-such-warning"};
  std::ostringstream out2, err2;
  EXPECT_EQ(comando_check(o, intero, out2, err2), 2);
  EXPECT_NE(err2.str().find("unknown warning name 'no-such-warning'"), std::string::npos);
}

TEST(CheckCommand, TextShowsTheSourceLineAndACaretUnderTheField) {
  MemoryFileSystem fs = scenario_in_memoria(kTrenoRotto);
  std::ostringstream out, err;
  comando_check(opzioni(), fs, out, err);
  const std::string atteso =
      "/scenari/Zembrastina_Dervo_47716-.txt:5:10: error: signal at 5010 m falls in cell 101, "
      "which already holds a signal [16]\n"
      "segnale, 5010, 1, 5, 1, 0, 0, 0, 0,0,0, 0\n"
      "         ^~~~\n"
      "/scenari/Zembrastina_Dervo_47716-.txt:4:1: note: cell 101 already holds a signal placed "
      "here\n"
      "segnale, 5000, 1, 5, 1, 0, 0, 0, 0,0,0, 0\n"
      "^~~~~~~\n"
      "/scenari/Zembrastina_Dervo_47716-.txt:6:17: error: expected a whole number for `velocita`, "
      "found `120.5` [25]\n"
      "velocita, 6000, 120.5\n"
      "                ^~~~~\n"
      "/scenari/Zembrastina_Dervo_47716-.txt:7:1: warning: line ignored: `stazoine` matches no "
      "record keyword; did you mean `stazione`? [unknown-record]\n"
      "stazoine, 66600, 4, 500, 1, 0, 0, 4,1,0, 2,1,1, 1, 14,25, 0, NOVARA\n"
      "^~~~~~~~\n";
  EXPECT_EQ(err.str().substr(0, atteso.size()), atteso);
  // Windows-1252 texts come out in UTF-8: the two bytes of the UTF-8 letter
  // are two letters in the file.
  EXPECT_NE(err.str().find("CITT\xC3\x83\xE2\x82\xAC"), std::string::npos);
}

TEST(CheckCommand, JsonListsEveryDiagnosticInUtf8) {
  MemoryFileSystem fs = scenario_in_memoria(kTrenoRotto);
  OpzioniCheck o = opzioni();
  o.json = true;
  std::ostringstream out, err;
  EXPECT_EQ(comando_check(o, fs, out, err), 1);
  EXPECT_EQ(err.str(), "");
  const nlohmann::json j = nlohmann::json::parse(out.str());
  EXPECT_EQ(j["errors"], 2);
  EXPECT_EQ(j["warnings"], 2);
  EXPECT_EQ(j["errors_not_shown"], 0);
  ASSERT_EQ(j["diagnostics"].size(), 4u);
  const nlohmann::json& primo = j["diagnostics"][0];
  EXPECT_EQ(primo["file"], "/scenari/Zembrastina_Dervo_47716-.txt");
  EXPECT_EQ(primo["line"], 5);
  EXPECT_EQ(primo["column"], 10);
  EXPECT_EQ(primo["severity"], "error");
  EXPECT_EQ(primo["code"], 16);
  EXPECT_EQ(primo["name"], "signal-cell-taken");
  ASSERT_EQ(primo["notes"].size(), 1u);
  EXPECT_EQ(primo["notes"][0]["line"], 4);
  const nlohmann::json& ultimo = j["diagnostics"][3];
  EXPECT_EQ(ultimo["severity"], "warning");
  EXPECT_EQ(ultimo["code"], nullptr);
  EXPECT_EQ(ultimo["name"], "non-ascii-text");
  EXPECT_NE(ultimo["message"].get<std::string>().find("CITT\xC3\x83\xE2\x82\xAC"),
            std::string::npos);
}

TEST(CheckCommand, VimQuickfixFindsEveryDiagnosticAndNote) {
  if (std::system("vim --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "vim not installed";
  CartellaTemporanea cartella;
  MemoryFileSystem fs = scenario_in_memoria(kTrenoRotto);
  EsitoControllo esito;
  std::string motivo;
  ASSERT_TRUE(controlla_cartella(fs, kCartella, kNomePercorso, kNumeroTreno, {}, &esito, &motivo));
  std::ostringstream testo;
  stampa_esito(esito, testo);
  cartella.scrivi("check.txt", testo.str());

  // Vim's own default 'errorformat', no configuration read.
  const std::string comando =
      "vim -es -u NONE -i NONE -c 'cgetfile " + cartella.file("check.txt") +
      "' -c 'call writefile(map(filter(getqflist(), \"v:val.valid\"), "
      "\"bufname(v:val.bufnr) . \\\":\\\" . v:val.lnum . \\\":\\\" . v:val.col\"), \"" +
      cartella.file("qf.txt") + "\")' -c 'qa!' < /dev/null > /dev/null 2>&1";
  ASSERT_EQ(std::system(comando.c_str()), 0);

  std::string attesi;
  for (const Diagnostica& d : esito.diagnostiche) {
    attesi += d.file + ":" + std::to_string(d.riga) + ":" + std::to_string(d.colonna) + "\n";
    for (const Nota& n : d.note) {
      attesi += n.file + ":" + std::to_string(n.riga) + ":" + std::to_string(n.colonna) + "\n";
    }
  }
  EXPECT_EQ(cartella.leggi("qf.txt"), attesi);
  EXPECT_EQ(esito.diagnostiche.size(), 4u);
}

}  // namespace
}  // namespace scenario
