// Whole runs of the start-up sequence with a file step made to fail: every
// file of a run, every step of its writing, and the failures of the reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/run_sequence.h"
#include "app/user_interface.h"
#include "base/file_system.h"
#include "base/program_guard.h"
#include "base/testing/faulty_file_system.h"
#include "compiler/compile_fixture.h"

namespace scenario {
namespace {

/// The eight files of a run, in the order the run writes them.
const std::vector<std::string> kFileDelGiro = {
    "Zembrastina_Dervo_linea.txt",
    "Zembrastina_Dervo_47716-.txt",
    "Zembrastina_Dervo_47716_note.txt",
    "Zembrastina_Dervo_47716_rallentamenti.txt",
    "Zembrastina_Dervo_47716_scheda_treno.txt",
    "Zembrastina_Dervo_linea.dat",
    "Zembrastina_Dervo_47716.sim",
    "Zembrastina_Dervo_47716.dat",
};

/// Bytes of the older file of that name put in the folder before a run:
/// recognisable, and not what any run writes.
std::string vecchio(const std::string& nome) {
  return std::string("older ") + nome + std::string("\0\r\n\xff", 4);
}

/// Fills the folder with an older file of every name of a run.
void prepara(const CartellaTemporanea& cartella) {
  for (const std::string& nome : kFileDelGiro) cartella.scrivi(nome, vecchio(nome));
}

/// Names in the folder that end in ".tmp".
std::vector<std::string> temporanei(const std::string& cartella) {
  std::vector<std::string> nomi;
  for (const auto& voce : std::filesystem::directory_iterator(cartella)) {
    const std::string nome = voce.path().filename().string();
    if (nome.ends_with(".tmp")) nomi.push_back(nome);
  }
  return nomi;
}

/// The text that picks the calls on file `nome` in a run: its temporary
/// (".NAME.XXXXXXXX.tmp") for the steps on the temporary, else the file
/// itself (for a rename, its new name). Nothing else of a run matches.
std::string scelta(const std::string& nome, bool sul_temporaneo) {
  return sul_temporaneo ? "/." + nome + "." : "/" + nome;
}

/// One failing step, the word the message uses for it, and whether it acts
/// on the temporary file.
struct PassoFallito {
  Step step;
  const char* parola;
  bool sul_temporaneo;
};

const PassoFallito kPassi[] = {
    {Step::kInspect, "replace", false}, {Step::kCreate, "create", true},
    {Step::kWrite, "write", true},      {Step::kFlush, "flush", true},
    {Step::kClose, "close", true},      {Step::kRename, "rename", false},
};

TEST(RunFaults, AFailingStepOfAnyFileEndsTheRunAndKeepsTheOlderFile) {
  for (std::size_t f = 0; f < kFileDelGiro.size(); ++f) {
    const std::string& nome = kFileDelGiro[f];
    for (const PassoFallito& passo : kPassi) {
      SCOPED_TRACE(nome + ": " + passo.parola);
      CartellaTemporanea cartella;
      prepara(cartella);
      RealFileSystem reale;
      FaultyFileSystem fs(reale);
      fs.Fail(passo.step, 1, scelta(nome, passo.sul_temporaneo));
      InterfacciaTestuale interfaccia;

      testing::internal::CaptureStderr();
      const int esito = avvia(fs, cartella.percorso(), interfaccia);
      const std::string errori = testing::internal::GetCapturedStderr();

      EXPECT_EQ(esito, 2);
      const Operation* fallita = nullptr;
      for (const Operation& op : fs.log()) {
        if (op.failed) fallita = &op;
      }
      ASSERT_NE(fallita, nullptr) << "the fault was never reached";
      // The message names the step and the file, on one line after
      // "Attendere"; a rename names the temporary and the file.
      const std::string file = cartella.file(nome);
      const std::string atteso =
          std::string("genera_scenario: cannot ") + passo.parola + " " +
          (passo.step == Step::kRename ? fallita->path + " to " + file : file) + ": ";
      if (passo.step == Step::kRename) {
        EXPECT_TRUE(IsTemporaryFor(fallita->path, file)) << fallita->path;
      }
      EXPECT_EQ(errori.rfind("Attendere\n" + atteso, 0), 0u) << errori;
      EXPECT_NE(errori.find(FaultyFileSystem::kReason), std::string::npos) << errori;
      EXPECT_TRUE(errori.ends_with("\n")) << errori;

      EXPECT_EQ(cartella.leggi(nome), vecchio(nome));
      // The run stops at the failure: the files it would write later are
      // the older ones still, and the scripts it wrote are gone.
      for (std::size_t dopo = f + 1; dopo < kFileDelGiro.size(); ++dopo) {
        EXPECT_EQ(cartella.leggi(kFileDelGiro[dopo]), vecchio(kFileDelGiro[dopo]))
            << kFileDelGiro[dopo];
      }
      for (std::size_t script = 0; script < 2 && script < f; ++script) {
        EXPECT_FALSE(cartella.esiste(kFileDelGiro[script])) << kFileDelGiro[script];
      }
      EXPECT_EQ(temporanei(cartella.percorso()), std::vector<std::string>{});
      EXPECT_EQ(fs.OpenFiles(), 0u);
    }
  }
}

TEST(RunFaults, AFolderThatCannotBeLockedEndsTheRunBeforeAnyFile) {
  CartellaTemporanea cartella;
  prepara(cartella);
  RealFileSystem reale;
  FaultyFileSystem fs(reale);
  fs.Fail(Step::kLock);
  InterfacciaTestuale interfaccia;

  testing::internal::CaptureStderr();
  const int esito = avvia(fs, cartella.percorso(), interfaccia);
  const std::string errori = testing::internal::GetCapturedStderr();

  EXPECT_EQ(esito, 2);
  EXPECT_EQ(errori, "Attendere\ngenera_scenario: cannot lock " + cartella.percorso() + ": " +
                        FaultyFileSystem::kReason + "\n");
  EXPECT_EQ(fs.LogLines(), std::vector<std::string>{"lock " + cartella.percorso() + " FAILED"});
  for (const std::string& nome : kFileDelGiro) EXPECT_EQ(cartella.leggi(nome), vecchio(nome));
}

TEST(RunFaults, RunningOutOfMemoryLeavesNoScriptNorTemporary) {
  const struct {
    const char* quando;
    Step step;
    std::string scelta;
    std::size_t script_scritti;  ///< scripts the run wrote before it ran out
    std::size_t primo_vecchio;   ///< the first file of kFileDelGiro it left alone
  } casi[] = {
      {"writing the line script", Step::kWrite, scelta(kFileDelGiro[0], true), 0, 0},
      {"creating the notes", Step::kCreate, scelta(kFileDelGiro[2], true), 2, 2},
      {"reading the train script", Step::kRead, scelta(kFileDelGiro[1], false), 2, 5},
      {"writing the parameter file", Step::kWrite, scelta(kFileDelGiro[6], true), 2, 6},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.quando);
    CartellaTemporanea cartella;
    prepara(cartella);
    RealFileSystem reale;
    FaultyFileSystem fs(reale);
    fs.ThrowOutOfMemory(caso.step, 1, caso.scelta);

    testing::internal::CaptureStderr();
    const int esito = RunGuardingMemory("genera_scenario", [&] {
      InterfacciaTestuale interfaccia;
      return avvia(fs, cartella.percorso(), interfaccia);
    });
    const std::string errori = testing::internal::GetCapturedStderr();

    EXPECT_EQ(esito, 2);
    EXPECT_EQ(errori, "Attendere\ngenera_scenario: out of memory\n");
    for (std::size_t script = 0; script < caso.script_scritti; ++script) {
      EXPECT_FALSE(cartella.esiste(kFileDelGiro[script])) << kFileDelGiro[script];
    }
    for (std::size_t f = std::max(caso.script_scritti, caso.primo_vecchio); f < kFileDelGiro.size();
         ++f) {
      EXPECT_EQ(cartella.leggi(kFileDelGiro[f]), vecchio(kFileDelGiro[f])) << kFileDelGiro[f];
    }
    EXPECT_EQ(temporanei(cartella.percorso()), std::vector<std::string>{});
    EXPECT_EQ(fs.OpenFiles(), 0u);
  }
}

TEST(RunFaults, ATrainScriptThatCannotBeReadIsCode25) {
  CartellaTemporanea cartella;
  prepara(cartella);
  RealFileSystem reale;
  FaultyFileSystem fs(reale);
  fs.Fail(Step::kRead, 1, "/Zembrastina_Dervo_47716-.txt");
  InterfacciaTestuale interfaccia;

  testing::internal::CaptureStderr();
  const int esito = avvia(fs, cartella.percorso(), interfaccia);
  const std::string errori = testing::internal::GetCapturedStderr();

  // A recorded code does not stop the writing: the run ends normally and
  // reports the code.
  EXPECT_EQ(esito, 0);
  EXPECT_NE(errori.find("compile recorded error 25"), std::string::npos) << errori;
  EXPECT_FALSE(cartella.esiste(kFileDelGiro[0]));
  EXPECT_FALSE(cartella.esiste(kFileDelGiro[1]));
  for (std::size_t f = 2; f < kFileDelGiro.size(); ++f) {
    EXPECT_NE(cartella.leggi(kFileDelGiro[f]), vecchio(kFileDelGiro[f])) << kFileDelGiro[f];
  }
  EXPECT_EQ(temporanei(cartella.percorso()), std::vector<std::string>{});
}

TEST(RunFaultsDeathTest, AMissingLineScriptIsCode101AndEndsTheRun) {
  CartellaTemporanea cartella;
  prepara(cartella);
  // The line script is written but not found as an ordinary file when the
  // compile looks for it.
  EXPECT_EXIT(
      {
        RealFileSystem reale;
        FaultyFileSystem fs(reale);
        fs.Fail(Step::kIsFile, 1, "/Zembrastina_Dervo_linea.txt");
        InterfacciaTestuale interfaccia;
        avvia(fs, cartella.percorso(), interfaccia);
      },
      testing::ExitedWithCode(1), "^Attendere\n Errore n\\. 101\n$");
  // Nothing was read or deleted, nothing compiled was written.
  EXPECT_NE(cartella.leggi(kFileDelGiro[0]), vecchio(kFileDelGiro[0]));
  EXPECT_NE(cartella.leggi(kFileDelGiro[1]), vecchio(kFileDelGiro[1]));
  for (std::size_t f = 5; f < kFileDelGiro.size(); ++f) {
    EXPECT_EQ(cartella.leggi(kFileDelGiro[f]), vecchio(kFileDelGiro[f])) << kFileDelGiro[f];
  }
  EXPECT_EQ(temporanei(cartella.percorso()), std::vector<std::string>{});
}

}  // namespace
}  // namespace scenario
