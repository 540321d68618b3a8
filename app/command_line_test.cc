#include "app/command_line.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "base/testing/temporary_folder.h"

namespace scenario {
namespace {

/// What one answer printed and returned.
struct Risposta {
  std::optional<int> stato;
  std::string out;
  std::string err;
};

/// Everything written so far to the temporary file `f`.
std::string letto(std::FILE* f) {
  std::fflush(f);
  std::rewind(f);
  std::string testo;
  for (int c = std::fgetc(f); c != EOF; c = std::fgetc(f)) testo += static_cast<char>(c);
  std::fclose(f);
  return testo;
}

/// The answer to the command line "genera_scenario ARGOMENTI...".
Risposta rispondi(const std::vector<std::string>& argomenti) {
  std::vector<const char*> argv{"genera_scenario"};
  for (const std::string& a : argomenti) argv.push_back(a.c_str());
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  Risposta r;
  r.stato = rispondi_a_riga_di_comando(static_cast<int>(argv.size()), argv.data(), out, err);
  r.out = letto(out);
  r.err = letto(err);
  return r;
}

TEST(RigaDiComando, NoArgumentIsTheBuiltInRun) {
  const Risposta r = rispondi({});
  EXPECT_FALSE(r.stato.has_value());
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
}

TEST(RigaDiComando, HelpAndVersionAnswerOnStandardOutput) {
  const Risposta aiuto = rispondi({"--help"});
  EXPECT_EQ(aiuto.stato, 0);
  EXPECT_EQ(aiuto.out.rfind("usage: genera_scenario [--help | --version]\n", 0), 0u) << aiuto.out;
  EXPECT_EQ(aiuto.err, "");

  const Risposta versione = rispondi({"--version"});
  EXPECT_EQ(versione.stato, 0);
  EXPECT_EQ(versione.out, std::string(kVersioneProgramma) + "\n");
  EXPECT_EQ(versione.err, "");
}

TEST(RigaDiComando, AnythingElseIsOneLineOfUsageError) {
  const struct {
    std::vector<std::string> argomenti;
    const char* errore;
  } casi[] = {
      {{"-h"}, "unknown argument '-h'"},
      {{"--Help"}, "unknown argument '--Help'"},
      {{"aiuto"}, "unknown argument 'aiuto'"},
      {{""}, "unknown argument ''"},
      {{"--help", "--version"}, "expected at most one argument, got 2"},
      {{"--version", "x", "y"}, "expected at most one argument, got 3"},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.errore);
    const Risposta r = rispondi(caso.argomenti);
    EXPECT_EQ(r.stato, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, std::string("genera_scenario: ") + caso.errore +
                         " (usage: genera_scenario [--help | --version])\n");
  }
}

TEST(RigaDiComando, AnOutputThatCannotBeWrittenFails) {
  std::FILE* pieno = std::fopen("/dev/full", "w");
  if (pieno == nullptr) GTEST_SKIP() << "no /dev/full";
  std::FILE* err = std::tmpfile();
  const char* argv[] = {"genera_scenario", "--version"};
  EXPECT_EQ(rispondi_a_riga_di_comando(2, argv, pieno, err), 1);
  std::fclose(pieno);
  EXPECT_EQ(letto(err),
            "genera_scenario: cannot write to standard output: No space left on device\n");
}

TEST(RigaDiComando, TheProgramWritesNothingUnlessRunWithoutArguments) {
  const struct {
    const char* argomenti;
    int stato;
  } casi[] = {
      {"--help", 0},
      {"--version", 0},
      {"--scrivi", 2},
      {"--help extra", 2},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.argomenti);
    CartellaTemporanea cartella;
    CartellaTemporanea altrove;  // the program's output goes here, not next to it
    const std::string programma = cartella.file("genera_scenario");
    std::filesystem::copy_file(GENERA_SCENARIO_PATH, programma);
    const std::string comando = "env -u DISPLAY '" + programma + "' " + caso.argomenti + " > '" +
                                altrove.file("out") + "' 2> '" + altrove.file("err") + "'";
    const int stato = std::system(comando.c_str());
    ASSERT_TRUE(WIFEXITED(stato));
    EXPECT_EQ(WEXITSTATUS(stato), caso.stato);
    EXPECT_EQ(cartella.voci(), std::set<std::string>{"genera_scenario"});
    const std::string out = altrove.leggi("out");
    const std::string err = altrove.leggi("err");
    if (caso.stato == 0) {
      EXPECT_NE(out, "");
      EXPECT_EQ(err, "");
    } else {
      EXPECT_EQ(out, "");
      EXPECT_EQ(err.rfind("genera_scenario: ", 0), 0u) << err;
      EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    }
  }
}

}  // namespace
}  // namespace scenario
