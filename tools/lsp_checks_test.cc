#include "tools/lsp_checks.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/memory_file_system.h"

namespace scenario {
namespace {

/// An analyser that finds a problem on every line holding "ERR", in
/// either text, and notes the pairs it was asked to check.
class AnalizzatoreFinto : public Analizzatore {
 public:
  std::vector<std::pair<std::string, std::string>> coppie;

  std::vector<Problema> problemi(std::string_view testo_linea, std::string_view testo_treno,
                                 const std::string& uri_linea,
                                 const std::string& uri_treno) override {
    coppie.emplace_back(uri_linea, uri_treno);
    std::vector<Problema> trovati;
    cerca(testo_linea, uri_linea, &trovati);
    cerca(testo_treno, uri_treno, &trovati);
    return trovati;
  }
  std::optional<Descrizione> descrizione(std::string_view, TipoScript, int, int) override {
    return std::nullopt;
  }
  Proposte proposte(std::string_view, TipoScript, int, int) override { return {}; }
  std::vector<Simbolo> simboli(std::string_view, TipoScript) override { return {}; }

 private:
  static void cerca(std::string_view testo, const std::string& uri, std::vector<Problema>* p) {
    int riga = 1;
    for (std::size_t i = 0; i < testo.size(); ++i) {
      if (testo.substr(i, 3) == "ERR")
        p->push_back({uri, riga, 0, 0, Gravita::errore, 1, "", "x", {}});
      if (testo[i] == '\n') ++riga;
    }
  }
};

const std::string kLinea = "file:///d/R_linea.txt";
const std::string kTreno1 = "file:///d/R_1-.txt";
const std::string kTreno2 = "file:///d/R_2-.txt";

/// Lines of the problems published for each file, in order of publication.
std::map<std::string, std::vector<std::vector<int>>> righe(const std::vector<Pubblicazione>& p) {
  std::map<std::string, std::vector<std::vector<int>>> r;
  for (const Pubblicazione& pub : p) {
    std::vector<int> n;
    for (const Problema& problema : pub.problemi) n.push_back(problema.riga);
    r[pub.uri].push_back(n);
  }
  return r;
}

using Attese = std::map<std::string, std::vector<std::vector<int>>>;

TEST(Verifiche, ALineScriptIsCheckedWithEveryTrainScriptOfItsRoute) {
  MemoryFileSystem fs;
  fs.files() = {{"/d/R_linea.txt", "ok\nERR\n"},
                {"/d/R_1-.txt", "ERR\n"},
                {"/d/R_2-.txt", "ok\nok\nERR\n"},
                {"/d/S_3-.txt", "ERR\n"},  // another route
                {"/d/note.txt", "ERR\n"}};
  Documenti documenti(fs);
  AnalizzatoreFinto analizzatore;
  Verifiche verifiche(documenti, analizzatore);

  documenti.imposta(kLinea, "ok\nERR\n");
  // The line script's fault found with both train scripts is shown once.
  EXPECT_EQ(righe(verifiche.dopo_modifica(kLinea)),
            (Attese{{kLinea, {{2}}}, {kTreno1, {{1}}}, {kTreno2, {{3}}}}));
  EXPECT_EQ(analizzatore.coppie.size(), 2u);

  // A train script's change checks its pair only; the line script keeps
  // what the other pair found.
  documenti.imposta(kTreno1, "ok\n");
  analizzatore.coppie.clear();
  EXPECT_EQ(righe(verifiche.dopo_modifica(kTreno1)), (Attese{{kLinea, {{2}}}, {kTreno1, {{}}}}));
  EXPECT_EQ(analizzatore.coppie, (decltype(analizzatore.coppie){{kLinea, kTreno1}}));

  // A train script that went from the disk and the editor is cleared.
  fs.files().erase("/d/R_2-.txt");
  documenti.imposta(kLinea, "ok\n");
  EXPECT_EQ(righe(verifiche.dopo_modifica(kLinea)),
            (Attese{{kLinea, {{}}}, {kTreno1, {{}}}, {kTreno2, {{}}}}));

  // Closing a script while the line script is open checks the group again,
  // with the closed one as it lies on disk; closing the last clears them.
  documenti.chiudi(kTreno1);
  EXPECT_EQ(righe(verifiche.dopo_chiusura(kTreno1)), (Attese{{kLinea, {{}}}, {kTreno1, {{1}}}}));
  documenti.chiudi(kLinea);
  EXPECT_EQ(righe(verifiche.dopo_chiusura(kLinea)), (Attese{{kLinea, {{}}}, {kTreno1, {{}}}}));
}

TEST(Verifiche, ATrainScriptWithoutItsLineScriptSaysSo) {
  MemoryFileSystem fs;
  Documenti documenti(fs);
  AnalizzatoreFinto analizzatore;
  Verifiche verifiche(documenti, analizzatore);
  documenti.imposta(kTreno1, "ok\n");
  const std::vector<Pubblicazione> p = verifiche.dopo_modifica(kTreno1);
  ASSERT_EQ(p.size(), 1u);
  ASSERT_EQ(p[0].problemi.size(), 1u);
  EXPECT_EQ(p[0].uri, kTreno1);
  EXPECT_EQ(p[0].problemi[0].codice, 101);
  EXPECT_EQ(p[0].problemi[0].messaggio,
            "line script not found: /d/R_linea.txt: no such file, or not a regular file");
  EXPECT_TRUE(analizzatore.coppie.empty());

  // The line script appears (opened in the editor, not yet saved).
  documenti.imposta(kLinea, "ERR\n");
  EXPECT_EQ(righe(verifiche.dopo_modifica(kTreno1)), (Attese{{kLinea, {{1}}}, {kTreno1, {{}}}}));
}

TEST(Verifiche, OnlyScriptNamesAreChecked) {
  MemoryFileSystem fs;
  Documenti documenti(fs);
  AnalizzatoreFinto analizzatore;
  Verifiche verifiche(documenti, analizzatore);
  for (const char* uri :
       {"file:///d/note.txt", "untitled:Untitled-1", "file:///d/_1-.txt", "file:///d/_linea.txt"}) {
    SCOPED_TRACE(uri);
    documenti.imposta(uri, "ERR\n");
    EXPECT_TRUE(verifiche.dopo_modifica(uri).empty());
  }
  EXPECT_TRUE(analizzatore.coppie.empty());
}

}  // namespace
}  // namespace scenario
