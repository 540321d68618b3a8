#include "tools/lsp_documents.h"

#include <gtest/gtest.h>

#include "base/memory_file_system.h"

namespace scenario {
namespace {

TEST(RiconosciScript, NamesSayTheLanguageTheRouteAndTheTrain) {
  struct Caso {
    const char* percorso;
    std::optional<TipoScript> tipo;
    const char* cartella;
    const char* nome_percorso;
    const char* numero_treno;
  };
  const Caso casi[] = {
      {"/d/Zembrastina_Dervo_linea.txt", TipoScript::linea, "/d", "Zembrastina_Dervo", ""},
      {"/d/Zembrastina_Dervo_47716-.txt", TipoScript::treno, "/d", "Zembrastina_Dervo", "47716"},
      {"/R_1-.txt", TipoScript::treno, "", "R", "1"},
      {"/d/_linea.txt", std::nullopt, "/d", "", ""},
      {"/d/R_-.txt", std::nullopt, "/d", "", ""},
      {"/d/R1-.txt", std::nullopt, "/d", "", ""},
      {"/d/R_1.txt", std::nullopt, "/d", "", ""},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.percorso);
    const NomeScript n = riconosci_script(c.percorso);
    EXPECT_EQ(n.tipo, c.tipo);
    EXPECT_EQ(n.cartella, c.cartella);
    EXPECT_EQ(n.nome_percorso, c.nome_percorso);
    EXPECT_EQ(n.numero_treno, c.numero_treno);
  }
}

TEST(Documenti, TheEditorsTextBeforeTheDisksAndFilesFromBoth) {
  MemoryFileSystem fs;
  fs.files() = {{"/d/a.txt", "disco"}, {"/d/b.txt", "disco"}, {"/e/c.txt", "altrove"}};
  Documenti documenti(fs);
  documenti.imposta("file:///d/b.txt", "editore");
  documenti.imposta("file:///d/nuovo.txt", "non salvato");
  std::string testo, err;
  ASSERT_TRUE(documenti.testo("file:///d/a.txt", &testo, &err));
  EXPECT_EQ(testo, "disco");
  ASSERT_TRUE(documenti.testo("file:///d/b.txt", &testo, &err));
  EXPECT_EQ(testo, "editore");
  EXPECT_FALSE(documenti.testo("file:///d/manca.txt", &testo, &err));
  EXPECT_EQ(err, "/d/manca.txt: no such file, or not a regular file");
  EXPECT_EQ(documenti.file_in("/d"), (std::vector<std::string>{"a.txt", "b.txt", "nuovo.txt"}));

  documenti.chiudi("file:///d/b.txt");
  ASSERT_TRUE(documenti.testo("file:///d/b.txt", &testo, &err));
  EXPECT_EQ(testo, "disco");
  EXPECT_EQ(documenti.uri_di("/d/nuovo.txt"), "file:///d/nuovo.txt");
  EXPECT_EQ(documenti.aperti(), std::vector<std::string>{"file:///d/nuovo.txt"});
}

}  // namespace
}  // namespace scenario
