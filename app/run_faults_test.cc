// Whole runs of the start-up sequence with a file step made to fail: every
// file of a run, every step of its writing, and the failures of the reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/run_sequence.h"
#include "app/user_interface.h"
#include "base/file_system.h"
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

/// One failing step, and the word the message uses for it.
struct PassoFallito {
  Step step;
  const char* parola;
};

const PassoFallito kPassi[] = {
    {Step::kCreate, "create"}, {Step::kWrite, "write"},   {Step::kFlush, "flush"},
    {Step::kClose, "close"},   {Step::kRename, "rename"},
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
      // The folder and "/" before the name: no other file of a run ends so.
      fs.Fail(passo.step, 1, "/" + nome);
      InterfacciaTestuale interfaccia;

      testing::internal::CaptureStderr();
      const int esito = avvia(fs, cartella.percorso(), interfaccia);
      const std::string errori = testing::internal::GetCapturedStderr();

      EXPECT_EQ(esito, 2);
      bool fallito = false;
      for (const Operation& op : fs.log()) fallito = fallito || op.failed;
      EXPECT_TRUE(fallito) << "the fault was never reached";
      // The message names the step and the file, on one line after
      // "Attendere".
      const std::string atteso =
          std::string("genera_scenario: cannot ") + passo.parola + " " + cartella.file(nome) + ": ";
      EXPECT_EQ(errori.rfind("Attendere\n" + atteso, 0), 0u) << errori;
      EXPECT_NE(errori.find(FaultyFileSystem::kReason), std::string::npos) << errori;
      EXPECT_TRUE(errori.ends_with("\n")) << errori;

      EXPECT_EQ(cartella.leggi(nome), vecchio(nome));
      // The run stops at the failure: the files it would write later are
      // the older ones still.
      for (std::size_t dopo = f + 1; dopo < kFileDelGiro.size(); ++dopo) {
        EXPECT_EQ(cartella.leggi(kFileDelGiro[dopo]), vecchio(kFileDelGiro[dopo]))
            << kFileDelGiro[dopo];
      }
      EXPECT_EQ(temporanei(cartella.percorso()), std::vector<std::string>{});
      EXPECT_EQ(fs.OpenFiles(), 0u);
    }
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
