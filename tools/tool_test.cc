#include "tools/tool.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/compile_fixture.h"
#include "tools/tool_test_support.h"

namespace scenario {
namespace {

TEST(Strumento, HelpAndVersionFromTheProgram) {
  CartellaTemporanea cartella;
  const Esecuzione aiuto = programma(SCENARIO_TOOL_PATH, {"--help"}, cartella.percorso());
  EXPECT_EQ(aiuto.stato, 0);
  for (const char* comando :
       {"scripts DIR", "compile DIR ROUTE TRAIN", "dump FILE", "render DIR ROUTE TRAIN"}) {
    EXPECT_NE(aiuto.out.find(comando), std::string::npos) << comando;
  }
  const Esecuzione versione = programma(SCENARIO_TOOL_PATH, {"--version"}, cartella.percorso());
  EXPECT_EQ(versione.stato, 0);
  EXPECT_EQ(versione.out, std::string(kVersioneStrumento) + "\n");

  const Esecuzione nulla = programma(SCENARIO_TOOL_PATH, {}, cartella.percorso());
  EXPECT_EQ(nulla.stato, 2);
  EXPECT_NE(nulla.err.find("usage: scenario_tool"), std::string::npos);
}

TEST(Strumento, EveryCommandHasItsHelp) {
  for (const char* comando : {"scripts", "compile", "dump", "render"}) {
    const Esecuzione e = strumento({comando, "--help"});
    EXPECT_EQ(e.stato, 0) << comando;
    EXPECT_EQ(e.out.rfind(std::string("usage: scenario_tool ") + comando, 0), 0u) << e.out;
    EXPECT_TRUE(e.err.empty());
    EXPECT_EQ(strumento({"help", comando}).out, e.out);
  }
}

TEST(Strumento, UnknownCommandsAndOptionsAreUsageErrors) {
  struct Caso {
    std::vector<std::string> argomenti;
    const char* messaggio;
  };
  const Caso casi[] = {
      {{"build"}, "unknown command 'build'"},
      {{"--verbose"}, "unknown option '--verbose'"},
      {{"scripts"}, "expected one folder, got 0"},
      {{"scripts", "a", "b"}, "expected one folder, got 2"},
      {{"render", "--step", "2", "d", "r", "t"}, "unknown option '--step'"},
      {{"render", "d", "r"}, "expected DIR ROUTE TRAIN, got 2"},
  };
  for (const Caso& caso : casi) {
    const Esecuzione e = strumento(caso.argomenti);
    EXPECT_EQ(e.stato, 2) << caso.messaggio;
    EXPECT_NE(e.err.find(caso.messaggio), std::string::npos) << e.err;
    EXPECT_NE(e.err.find("usage: scenario_tool"), std::string::npos) << e.err;
  }
}

TEST(Strumento, ScriptsWritesTheBuiltinScriptsAndLeavesThem) {
  CartellaTemporanea cartella;
  const std::string dir = cartella.file("nuova");
  const Esecuzione e = strumento({"scripts", dir});
  EXPECT_EQ(e.stato, 0) << e.err;
  EXPECT_EQ(e.out,
            dir + "/Zembrastina_Dervo_linea.txt\n" + dir + "/Zembrastina_Dervo_47716-.txt\n");
  const std::string linea = contenuto(dir + "/Zembrastina_Dervo_linea.txt");
  EXPECT_EQ(linea.substr(0, 12), "[generale]\r\n");
  EXPECT_EQ(contenuto(dir + "/Zembrastina_Dervo_47716-.txt").substr(0, 12), "[generale]\r\n");

  cartella.scrivi("file", "x");
  EXPECT_EQ(strumento({"scripts", cartella.file("file")}).stato, 2);
}

}  // namespace
}  // namespace scenario
