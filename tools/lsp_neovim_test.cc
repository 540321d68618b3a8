// The language server with a real editor: Neovim's built-in client, run
// headless on a broken train script by tools/testdata/lsp_neovim.lua. With
// LSP_GIRI=N the fix is undone and redone N - 1 more times; each change's
// time from didChange to the publication is printed ("da_invio_ms").
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "base/file_names.h"
#include "base/file_system.h"
#include "base/testing/temporary_folder.h"
#include "scripts/builtin_scripts.h"
#include "tools/tool_test_support.h"

namespace scenario {
namespace {

using nlohmann::json;

/// The full path of program `nome` found on PATH, or "".
std::string nel_path(const std::string& nome) {
  const char* path = std::getenv("PATH");
  std::istringstream cartelle(path ? path : "");
  for (std::string cartella; std::getline(cartelle, cartella, ':');) {
    const std::string candidato = percorso_in(cartella.empty() ? "." : cartella, nome);
    if (::access(candidato.c_str(), X_OK) == 0) return candidato;
  }
  return "";
}

TEST(LspNeovim, ShowsTheErrorAtItsFieldHoversCompletesOutlinesAndClearsTheErrorWhenFixed) {
  const std::string nvim = nel_path("nvim");
  if (nvim.empty()) GTEST_SKIP() << "nvim (Debian package neovim) is not installed";
  CartellaTemporanea cartella;
  RealFileSystem fs;
  std::string err;
  ASSERT_TRUE(dati_linea(fs, cartella.percorso(), kNomePercorso, &err)) << err;
  ASSERT_TRUE(dati_treno(fs, cartella.percorso(), kNomePercorso, kNumeroTreno, &err)) << err;
  const std::string nome_treno = nome_script_treno(kNomePercorso, kNumeroTreno);
  std::string treno = cartella.leggi(nome_treno);
  treno.replace(treno.find("stazione,   66600"), 17, "stazione,   66620");
  cartella.scrivi(nome_treno, treno);
  const std::string script =
      (std::filesystem::path(__FILE__).parent_path() / "testdata" / "lsp_neovim.lua").string();
  const char* giri = std::getenv("LSP_GIRI");
  const std::string casa = cartella.file("casa");
  const Esecuzione e = programma("/usr/bin/env",
                                 {// Neovim's state and logs stay in the folder.
                                  "HOME=" + casa,
                                  "XDG_CONFIG_HOME=" + casa,
                                  "XDG_DATA_HOME=" + casa,
                                  "XDG_STATE_HOME=" + casa,
                                  "XDG_CACHE_HOME=" + casa,
                                  "LSP_SERVER=" + json::array({SCENARIO_TOOL_PATH, "lsp"}).dump(),
                                  "LSP_SCRIPT=" + cartella.file(nome_treno),
                                  "LSP_RIGA=26",
                                  "LSP_ROTTO=66620",
                                  "LSP_GIUSTO=66600",
                                  std::string("LSP_GIRI=") + (giri ? giri : "1"),
                                  "LSP_RISULTATO=" + cartella.file("visto.jsonl"),
                                  "timeout",
                                  "120",
                                  nvim,
                                  "--headless",
                                  "-u",
                                  "NONE",
                                  "-i",
                                  "NONE",
                                  "-n",
                                  "-c",
                                  "luafile " + script},
                                 cartella.percorso());
  ASSERT_EQ(e.stato, 0) << e.err;

  std::vector<json> problemi, modifiche;
  json hover, parola, simbolo, uscita;
  std::istringstream visto(cartella.leggi("visto.jsonl"));
  for (std::string riga; std::getline(visto, riga);) {
    std::cout << "neovim: " << riga << "\n";
    const json v = json::parse(riga);
    const std::string tipo = v["tipo"];
    ASSERT_NE(tipo, "errore") << v["messaggio"];
    if (tipo == "problema") problemi.push_back(v);
    if (tipo == "modifica") modifiche.push_back(v);
    if (tipo == "hover") hover = v;
    if (tipo == "parola") parola = v;
    if (tipo == "simbolo") simbolo = v;
    if (tipo == "uscita") uscita = v;
  }
  // The station off the grid is an error at its position field; the
  // timetable's order a warning at the next station's time.
  ASSERT_EQ(problemi.size(), 2u);
  EXPECT_EQ(problemi[0]["riga"], 26);
  EXPECT_EQ(problemi[0]["colonna"], 12);
  EXPECT_EQ(problemi[0]["colonna_fine"], 17);
  EXPECT_EQ(problemi[0]["gravita"], 1);  // error
  EXPECT_EQ(problemi[0]["codice"], 8);
  EXPECT_EQ(problemi[0]["messaggio"], "station position 66620 m is not a multiple of 50 m");
  EXPECT_EQ(problemi[1]["riga"], 27);
  EXPECT_EQ(problemi[1]["colonna"], 62);
  EXPECT_EQ(problemi[1]["colonna_fine"], 70);
  EXPECT_EQ(problemi[1]["gravita"], 2);  // warning
  EXPECT_EQ(problemi[1]["codice"], "timetable-order");
  // The hover names the field, its unit and what the compiler stores.
  for (const char* atteso : {"Record `stazione` (station), field 1 of 17: `66620`",
                             "**`posizione`** (m)", "Stored: 66620"}) {
    EXPECT_NE(hover["testo"].get<std::string>().find(atteso), std::string::npos) << hover;
  }
  EXPECT_EQ(parola["dettaglio"].get<std::string>().rfind("posizione, tipo, lunghezza, ", 0), 0u)
      << parola;
  EXPECT_EQ(simbolo["nome"], "NOVARA");
  EXPECT_EQ(simbolo["dettaglio"], "station, 66620 m");
  EXPECT_EQ(simbolo["riga"], 26);
  ASSERT_FALSE(modifiche.empty());
  EXPECT_EQ(modifiche.back()["errori"], 0) << "the fix cleared the error";
  EXPECT_EQ(uscita["stato"], 0) << "the server's exit status after shutdown";
  EXPECT_EQ(cartella.leggi(nome_treno), treno) << "nothing written to the script";
}

}  // namespace
}  // namespace scenario
