#include "base/text_file_writer.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "base/testing/temporary_folder.h"

namespace scenario {
namespace {

TEST(TextFileWriter, FileText) {
  struct Caso {
    const char* nome;
    TabellaRighe tabella;
    std::string atteso;
  };
  TabellaRighe oltre_la_fine{};
  oltre_la_fine[0] = "a";
  oltre_la_fine[1] = kFineDelFile;
  oltre_la_fine[2] = "b";

  const Caso casi[] = {
      {"end marker in slot 0", tabella_righe({}), ""},
      {"empty slot", tabella_righe({"a", "", "b"}), "a\r\n\r\nb\r\n"},
      {"blanks kept", tabella_righe({"  x  ", "\ty"}), "  x  \r\n\ty\r\n"},
      {"marker in another case", tabella_righe({"RIFERIMENTO FINE DEL FILE"}),
       "RIFERIMENTO FINE DEL FILE\r\n"},
      {"marker inside a longer line", tabella_righe({" riferimento fine del file"}),
       " riferimento fine del file\r\n"},
      {"8-bit bytes", tabella_righe({"citt\xE0 \xE8"}), "citt\xE0 \xE8\r\n"},
      {"slots after the marker", oltre_la_fine, "a\r\n"},
  };
  for (const Caso& caso : casi) EXPECT_EQ(testo_file(caso.tabella), caso.atteso) << caso.nome;
}

TEST(TextFileWriter, FullTable) {
  std::string righe[1000];
  std::string_view viste[1001];
  for (int n = 0; n < 1000; ++n) viste[n] = righe[n] = std::to_string(n);
  viste[1000] = "scartata";
  // At most 1000 lines fit; the line beyond them gives way to the marker.
  const TabellaRighe tabella = tabella_righe(viste, 1001);
  EXPECT_EQ(tabella[1000], kFineDelFile);
  const std::string testo = testo_file(tabella);
  EXPECT_EQ(testo.substr(0, 6), "0\r\n1\r\n");
  EXPECT_EQ(testo.substr(testo.size() - 5), "999\r\n");
}

TEST(TextFileWriter, ReplacesTheFileWhole) {
  CartellaTemporanea cartella;
  ASSERT_FALSE(cartella.percorso().empty());
  const std::string percorso = cartella.percorso() + "/documento.txt";
  RealFileSystem fs;
  std::string err;
  std::string letto;

  ASSERT_TRUE(ReplaceFile(fs, percorso, std::string(5000, 'x'), &err)) << err;
  ASSERT_TRUE(scrivi_file_testo(fs, percorso, tabella_righe({"uno", "due"}), &err)) << err;
  ASSERT_TRUE(fs.ReadFile(percorso, &letto, &err)) << err;
  EXPECT_EQ(letto, "uno\r\ndue\r\n");

  // An empty document still replaces the older file, leaving 0 bytes.
  ASSERT_TRUE(scrivi_file_testo(fs, percorso, tabella_righe({}), &err)) << err;
  ASSERT_TRUE(fs.ReadFile(percorso, &letto, &err)) << err;
  EXPECT_EQ(letto, "");

  // Nothing but the document is left in the folder.
  int file = 0;
  for (const auto& voce : std::filesystem::directory_iterator(cartella.percorso())) {
    EXPECT_EQ(voce.path().string(), percorso);
    ++file;
  }
  EXPECT_EQ(file, 1);
}

TEST(TextFileWriter, FailureNamesTheFile) {
  CartellaTemporanea cartella;
  ASSERT_FALSE(cartella.percorso().empty());
  const std::string percorso = cartella.percorso() + "/assente/documento.txt";
  RealFileSystem fs;
  std::string err;
  EXPECT_FALSE(scrivi_file_testo(fs, percorso, tabella_righe({"uno"}), &err));
  EXPECT_NE(err.find(percorso), std::string::npos) << err;
}

}  // namespace
}  // namespace scenario
