#include "tools/render_command.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/testing/temporary_folder.h"
#include "tools/tool_test_support.h"

namespace scenario {
namespace {

/// The example scenario's scripts and the files compiled from them, in a
/// folder of their own.
class RenderUscita : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* nome : {"Val_Piccola_linea.txt", "Val_Piccola_2231-.txt"}) {
      std::filesystem::copy_file(cartella_esempio() + "/" + nome, cartella_.file(nome));
    }
    const Esecuzione e = strumento({"compile", dir(), kPercorsoEsempio, kTrenoEsempio});
    ASSERT_EQ(e.stato, 0) << e.err;
  }
  std::string dir() const { return cartella_.percorso(); }
  Esecuzione render(std::vector<std::string> opzioni) const {
    opzioni.insert(opzioni.begin(), "render");
    opzioni.push_back(dir());
    opzioni.push_back(kPercorsoEsempio);
    opzioni.push_back(kTrenoEsempio);
    return strumento(opzioni);
  }
  CartellaTemporanea cartella_;
};

TEST_F(RenderUscita, RefusesTargetsThatAreNotRegularFilesOrAreTheScenariosOwn) {
  ASSERT_EQ(::mkfifo(cartella_.file("fifo.svg").c_str(), 0644), 0);
  std::filesystem::create_directory(cartella_.file("folder.svg"));
  cartella_.scrivi("altro", "other");
  std::filesystem::create_symlink(cartella_.file("altro"), cartella_.file("link.svg"));
  std::filesystem::create_directory(cartella_.file("sub"));
  std::filesystem::create_hard_link(cartella_.file("Val_Piccola_2231.sim"),
                                    cartella_.file("hard.svg"));
  const struct {
    std::string out;
    std::string messaggio;
  } casi[] = {
      {"/dev/null", "/dev/null does not end in \".svg\""},
      {cartella_.file("fifo.svg"), "fifo.svg: it is a FIFO, not a regular file"},
      {cartella_.file("folder.svg"), "folder.svg: it is a folder, not a regular file"},
      {cartella_.file("link.svg"), "link.svg: it is a symbolic link, not a regular file"},
      {cartella_.file("page.txt"), "page.txt does not end in \".svg\" (--force"},
      {cartella_.file("Val_Piccola_linea.txt"), "Val_Piccola_linea.txt, one of the scenario's"},
      {cartella_.file("Val_Piccola_2231-.txt"), "Val_Piccola_2231-.txt, one of the scenario's"},
      {cartella_.file("Val_Piccola_linea.dat"), "Val_Piccola_linea.dat, one of the scenario's"},
      {cartella_.file("Val_Piccola_2231.dat"), "Val_Piccola_2231.dat, one of the scenario's"},
      {cartella_.file("sub/../Val_Piccola_2231.sim"), "Val_Piccola_2231.sim, one of the"},
      {cartella_.file("hard.svg"), "(the output " + cartella_.file("hard.svg") + " is that file)"},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.out);
    const std::string prima_sim = cartella_.leggi("Val_Piccola_2231.sim");
    const Esecuzione e = render({"--out", caso.out});
    EXPECT_EQ(e.stato, 2);
    EXPECT_NE(e.err.find(caso.messaggio), std::string::npos) << e.err;
    EXPECT_TRUE(e.out.empty());
    EXPECT_EQ(cartella_.leggi("Val_Piccola_2231.sim"), prima_sim);
  }
  // What stood there is still there, as it was.
  struct stat st;
  ASSERT_EQ(::lstat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  EXPECT_TRUE(std::filesystem::is_fifo(cartella_.file("fifo.svg")));
  EXPECT_TRUE(std::filesystem::is_symlink(cartella_.file("link.svg")));
  EXPECT_EQ(cartella_.leggi("altro"), "other");
  EXPECT_FALSE(cartella_.esiste("page.txt"));
}

TEST_F(RenderUscita, DashIsStandardOutputAndForceTakesAnyName) {
  const Esecuzione standard = render({"--out", "-"});
  EXPECT_EQ(standard.stato, 0) << standard.err;
  EXPECT_EQ(standard.out.rfind("<?xml", 0), 0u);
  EXPECT_NE(standard.out.find("</svg>"), std::string::npos);
  EXPECT_FALSE(cartella_.esiste("-"));

  const Esecuzione forzato = render({"--force", "--out", cartella_.file("page.txt")});
  EXPECT_EQ(forzato.stato, 0) << forzato.err;
  EXPECT_EQ(cartella_.leggi("page.txt"), standard.out);
  // --force does not open the scenario's own files.
  EXPECT_EQ(render({"--force", "--out", cartella_.file("Val_Piccola_2231.sim")}).stato, 2);
}

TEST(LetturaFallita, DumpAndRenderGiveTheSystemsReason) {
  CartellaTemporanea cartella;
  std::filesystem::create_directory(cartella.file("R_1.sim"));
  ASSERT_EQ(::mkfifo(cartella.file("R_2.sim").c_str(), 0644), 0);
  const struct {
    std::string file;
    const char* treno;
    const char* motivo;
  } casi[] = {
      {cartella.file("R_0.sim"), "0", "No such file or directory"},
      {cartella.file("R_1.sim"), "1", "it is a folder, not a regular file"},
      {cartella.file("R_2.sim"), "2", "it is a FIFO, not a regular file"},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.file);
    // A FIFO is never opened for a writer that will not come: these return.
    const std::string atteso = "cannot read " + caso.file + ": " + caso.motivo + "\n";
    const Esecuzione dump = strumento({"dump", caso.file});
    EXPECT_EQ(dump.stato, 2);
    EXPECT_EQ(dump.err, "scenario_tool dump: " + atteso);
    const Esecuzione render = strumento({"render", cartella.percorso(), "R", caso.treno});
    EXPECT_EQ(render.stato, 2);
    EXPECT_EQ(render.err, "scenario_tool render: " + atteso);
  }
}

}  // namespace
}  // namespace scenario
