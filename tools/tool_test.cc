#include "tools/tool.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "base/file_names.h"
#include "compiler/compile_fixture.h"
#include "scripts/builtin_scripts.h"
#include "tools/descriptor_output.h"
#include "tools/explain_command.h"
#include "tools/tool_test_support.h"

namespace scenario {
namespace {

TEST(Strumento, HelpAndVersionFromTheProgram) {
  CartellaTemporanea cartella;
  const Esecuzione aiuto = programma(SCENARIO_TOOL_PATH, {"--help"}, cartella.percorso());
  EXPECT_EQ(aiuto.stato, 0);
  for (const char* comando :
       {"scripts DIR", "check DIR ROUTE TRAIN", "compile DIR ROUTE TRAIN", "explain CODE|RECORD",
        "decompile DIR ROUTE TRAIN", "dump FILE", "render DIR ROUTE TRAIN"}) {
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
  for (const char* comando :
       {"scripts", "check", "compile", "explain", "decompile", "dump", "render"}) {
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
      {{"explain"}, "expected one CODE or RECORD, got 0"},
      {{"explain", "--markdown", "16"}, "--markdown takes no operand, got 1"},
      {{"check", "--no-warn"}, "option '--no-warn' needs a value"},
  };
  for (const Caso& caso : casi) {
    const Esecuzione e = strumento(caso.argomenti);
    EXPECT_EQ(e.stato, 2) << caso.messaggio;
    EXPECT_NE(e.err.find(caso.messaggio), std::string::npos) << e.err;
    EXPECT_NE(e.err.find("usage: scenario_tool"), std::string::npos) << e.err;
  }
  // Operands that parse but name nothing usable.
  const Caso nomi[] = {
      {{"check", "--no-warn", "nonsense", "d", "r", "t"}, "unknown warning name 'nonsense'"},
      {{"check", "d", "r", "linea"}, "TRAIN 'linea'"},
      {{"decompile", "d", "r/x", "t"}, "ROUTE 'r/x' contains '/'"},
  };
  for (const Caso& caso : nomi) {
    const Esecuzione e = strumento(caso.argomenti);
    EXPECT_EQ(e.stato, 2) << caso.messaggio;
    EXPECT_NE(e.err.find(caso.messaggio), std::string::npos) << e.err;
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

TEST(Strumento, CheckOfTheBuiltinScriptsFindsOnlyTheTimetableOrder) {
  CartellaTemporanea cartella;
  ASSERT_EQ(strumento({"scripts", cartella.percorso()}).stato, 0);
  const Esecuzione e = strumento({"check", cartella.percorso(), kNomePercorso, kNumeroTreno});
  EXPECT_EQ(e.stato, 0) << e.err;
  EXPECT_NE(e.err.find("0 errors, 1 warning\n"), std::string::npos) << e.err;
  EXPECT_NE(e.err.find("[timetable-order]"), std::string::npos) << e.err;

  const Esecuzione spento = strumento(
      {"check", "--no-warn", "timetable-order", cartella.percorso(), kNomePercorso, kNumeroTreno});
  EXPECT_EQ(spento.stato, 0) << spento.err;
  EXPECT_EQ(spento.err.find("[timetable-order]"), std::string::npos) << spento.err;

  const Esecuzione json =
      strumento({"check", "--json", cartella.percorso(), kNomePercorso, kNumeroTreno});
  EXPECT_EQ(json.stato, 0);
  EXPECT_NE(json.out.find("\"diagnostics\""), std::string::npos) << json.out;
}

TEST(Strumento, ExplainACodeARecordAndTheReference) {
  for (const char* argomento : {"16", "stazione"}) {
    SCOPED_TRACE(argomento);
    const Esecuzione e = strumento({"explain", argomento});
    EXPECT_EQ(e.stato, 0) << e.err;
    EXPECT_FALSE(e.out.empty());
  }
  const Esecuzione riferimento = strumento({"explain", "--markdown"});
  EXPECT_EQ(riferimento.stato, 0);
  EXPECT_EQ(riferimento.out, riferimento_markdown());
  EXPECT_EQ(strumento({"explain", "99999"}).stato, 2);
}

TEST(Strumento, DecompiledBuiltinFilesCompileToTheSameBytes) {
  CartellaTemporanea cartella;
  const std::string script = cartella.file("script");
  const std::string primi = cartella.file("primi");
  const std::string recuperati = cartella.file("recuperati");
  const std::string secondi = cartella.file("secondi");
  ASSERT_EQ(strumento({"scripts", script}).stato, 0);
  const Esecuzione prima =
      strumento({"compile", "--out", primi, script, kNomePercorso, kNumeroTreno});
  ASSERT_EQ(prima.stato, 0) << prima.err;
  const Esecuzione d =
      strumento({"decompile", "--out", recuperati, primi, kNomePercorso, kNumeroTreno});
  ASSERT_EQ(d.stato, 0) << d.err;
  const Esecuzione seconda =
      strumento({"compile", "--out", secondi, recuperati, kNomePercorso, kNumeroTreno});
  ASSERT_EQ(seconda.stato, 0) << seconda.err;
  for (const std::string& nome :
       {nome_file_linea(kNomePercorso), nome_file_parametri(kNomePercorso, kNumeroTreno),
        nome_file_celle(kNomePercorso, kNumeroTreno)}) {
    SCOPED_TRACE(nome);
    const std::string attesi = contenuto(primi + "/" + nome);
    EXPECT_FALSE(attesi.empty());
    EXPECT_EQ(contenuto(secondi + "/" + nome), attesi);
  }
}

/// Standard output on /dev/full: every write fails with ENOSPC.
class UscitaPiena {
 public:
  UscitaPiena() : fd_(::open("/dev/full", O_WRONLY | O_CLOEXEC)), buffer_(fd_), out_(&buffer_) {}
  ~UscitaPiena() { ::close(fd_); }
  bool aperta() const { return fd_ >= 0; }
  std::ostream& out() { return out_; }

 private:
  int fd_;
  UscitaDescrittore buffer_;
  std::ostream out_;
};

TEST(Strumento, AFailedStandardOutputIsStatusTwoWithTheReason) {
  CartellaTemporanea cartella;
  const std::string dir = cartella.percorso();
  const Esecuzione compilato =
      strumento({"compile", "--out", dir, cartella_esempio(), kPercorsoEsempio, kTrenoEsempio});
  ASSERT_EQ(compilato.stato, 0) << compilato.err;
  const std::vector<std::string> casi[] = {
      {"dump", cartella.file("Val_Piccola_2231.sim")},
      {"dump", "--json", cartella.file("Val_Piccola_2231.dat")},
      {"compile", "--json", "--out", dir, cartella_esempio(), kPercorsoEsempio, kTrenoEsempio},
      {"render", "--out", "-", dir, kPercorsoEsempio, kTrenoEsempio},
      {"check", "--json", cartella_esempio(), kPercorsoEsempio, kTrenoEsempio},
      {"explain", "16"},
      {"explain", "--markdown"},
      {"--help"},
  };
  for (const std::vector<std::string>& argomenti : casi) {
    SCOPED_TRACE(argomenti.front() + " ... " + argomenti.back());
    UscitaPiena piena;
    ASSERT_TRUE(piena.aperta());
    std::ostringstream err;
    RealFileSystem fs;
    EXPECT_EQ(esegui_comando(argomenti, fs, piena.out(), err), 2);
    const std::string chi =
        argomenti[0] == "--help" ? "scenario_tool" : "scenario_tool " + argomenti[0];
    EXPECT_NE(err.str().find(chi + ": cannot write standard output: No space left on device\n"),
              std::string::npos)
        << err.str();
  }

  // The program itself, its standard output on /dev/full.
  const std::string comando = std::string("'") + SCENARIO_TOOL_PATH + "' dump '" +
                              cartella.file("Val_Piccola_2231.sim") + "' >/dev/full 2>'" +
                              cartella.file("err") + "'";
  const int stato = std::system(comando.c_str());
  ASSERT_TRUE(WIFEXITED(stato));
  EXPECT_EQ(WEXITSTATUS(stato), 2);
  EXPECT_EQ(cartella.leggi("err"),
            "scenario_tool dump: cannot write standard output: No space left on device\n");
}

}  // namespace
}  // namespace scenario
