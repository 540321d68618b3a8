#include "app/run_sequence.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/user_interface.h"
#include "base/file_system.h"
#include "base/testing/faulty_file_system.h"
#include "compiler/compile_fixture.h"

namespace scenario {
namespace {

const char kScriptLinea[] = "Zembrastina_Dervo_linea.txt";
const char kScriptTreno[] = "Zembrastina_Dervo_47716-.txt";
const char kNote[] = "Zembrastina_Dervo_47716_note.txt";
const char kRallentamenti[] = "Zembrastina_Dervo_47716_rallentamenti.txt";
const char kScheda[] = "Zembrastina_Dervo_47716_scheda_treno.txt";
const char kFileLinea[] = "Zembrastina_Dervo_linea.dat";
const char kFileParametri[] = "Zembrastina_Dervo_47716.sim";
const char kFileCelle[] = "Zembrastina_Dervo_47716.dat";

/// The last component of `percorso`.
std::string nome_di(const std::string& percorso) {
  return std::filesystem::path(percorso).filename().string();
}

/// Names of the files in `cartella`, sorted.
std::vector<std::string> contenuto(const std::string& cartella) {
  std::vector<std::string> nomi;
  for (const auto& voce : std::filesystem::directory_iterator(cartella)) {
    nomi.push_back(voce.path().filename().string());
  }
  std::sort(nomi.begin(), nomi.end());
  return nomi;
}

/// The little-endian 16-bit value at `offset` of `bytes`.
std::int32_t u16(const std::string& bytes, std::size_t offset) {
  return static_cast<unsigned char>(bytes[offset]) |
         (static_cast<unsigned char>(bytes[offset + 1]) << 8);
}

/// The little-endian signed 16-bit value at `offset` of `bytes`.
std::int32_t i16(const std::string& bytes, std::size_t offset) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(u16(bytes, offset)));
}

/// The little-endian signed 32-bit value at `offset` of `bytes`.
std::int32_t i32(const std::string& bytes, std::size_t offset) {
  std::uint32_t u = 0;
  for (int b = 3; b >= 0; --b) u = (u << 8) | static_cast<unsigned char>(bytes[offset + b]);
  return static_cast<std::int32_t>(u);
}

/// Copies the program into `cartella` and runs it there without a display;
/// its standard error goes to `*errori`.
void esegui_programma(const CartellaTemporanea& cartella, std::string* errori) {
  CartellaTemporanea altrove;  // standard error goes here, not next to the program
  const std::string programma = cartella.file("genera_scenario");
  std::filesystem::copy_file(GENERA_SCENARIO_PATH, programma);
  const std::string comando =
      "env -u DISPLAY '" + programma + "' 2> '" + altrove.file("stderr.txt") + "' > /dev/null";
  const int stato = std::system(comando.c_str());
  ASSERT_TRUE(WIFEXITED(stato));
  EXPECT_EQ(WEXITSTATUS(stato), 0);
  *errori = altrove.leggi("stderr.txt");
}

/// The sha256 of each file `nomi` of `cartella`, by name, as the system's
/// sha256sum computes it; a file it cannot read is missing from the result.
std::map<std::string, std::string> sha256_dei_file(const std::string& cartella,
                                                   const std::vector<std::string>& nomi) {
  std::string comando = "cd '" + cartella + "' && sha256sum --";
  for (const std::string& nome : nomi) comando += " '" + nome + "'";
  std::map<std::string, std::string> somme;
  FILE* uscita = popen(comando.c_str(), "r");
  if (uscita == nullptr) return somme;
  // Each line: 64 hex digits, two blanks, the name.
  char riga[4096];
  while (std::fgets(riga, sizeof riga, uscita) != nullptr) {
    std::string testo(riga);
    if (testo.ends_with('\n')) testo.pop_back();
    if (testo.size() > 66) somme[testo.substr(66)] = testo.substr(0, 64);
  }
  pclose(uscita);
  return somme;
}

TEST(RunSequence, BuiltInRunOfTheProgram) {
  CartellaTemporanea cartella;
  std::string errori;
  ASSERT_NO_FATAL_FAILURE(esegui_programma(cartella, &errori));
  EXPECT_EQ(errori, "Attendere\n");

  EXPECT_EQ(contenuto(cartella.percorso()),
            (std::vector<std::string>{kFileCelle, kFileParametri, kNote, kRallentamenti, kScheda,
                                      kFileLinea, "genera_scenario"}));

  const std::string celle = cartella.leggi(kFileCelle);
  ASSERT_EQ(celle.size(), 33015u);
  EXPECT_EQ(i16(celle, 16), 5121);
  EXPECT_EQ(i16(celle, 18), 2380);
  // The signal at 67400 m: cell 1349, bytes 20235 to 20249.
  EXPECT_EQ(static_cast<unsigned char>(celle[20235]), 1);
  EXPECT_EQ(i16(celle, 20236), 50);
  EXPECT_EQ(i16(celle, 20238), 10);
  EXPECT_EQ(i16(celle, 20240), 0);
  EXPECT_EQ(i16(celle, 20242), 3);

  // Entry 85 of the parameter file, after 85 records of 34 bytes plus text.
  const std::string parametri = cartella.leggi(kFileParametri);
  std::size_t o = 0;
  for (int e = 0; e < 85; ++e) {
    ASSERT_LT(o + 16, parametri.size());
    o += 34 + static_cast<std::size_t>(u16(parametri, o + 14));
  }
  const std::size_t l = static_cast<std::size_t>(u16(parametri, o + 14));
  ASSERT_EQ(parametri.substr(o + 16, l), "Zembrastina_Dervo");
  EXPECT_EQ(i16(parametri, o + 16 + l), 610);
  EXPECT_EQ(i32(parametri, o + 30 + l), 33296);

  EXPECT_EQ(std::filesystem::file_size(cartella.file(kFileLinea)), 2199964u);
}

TEST(RunSequence, BuiltInOutputsByteForByte) {
  const std::map<std::string, std::string> attese = {
      {kFileLinea, "2fe21cbb872850a0c653f595c8081ca2a50fe65b07c707c351a74529753d7fba"},
      {kFileParametri, "e23599d74645da33abc699ee8541ab9baef5114ea55626d0a391cac7e85793c1"},
      {kFileCelle, "d47d26e6a5db5c0b286a547dbd7c8900b3fcdd0dc7bf5a15fe79cb78fbc3c5e0"},
      {kNote, "b008b35b4f4e863726c5a38152e44be23e949f054ecdc6e8c5a1489bf4cb9a40"},
      {kRallentamenti, "f9542cfa77c260184ffab9022b39d7c00acce1d1803f9f560d31002653a30a0d"},
      {kScheda, "482dc76389aa6547635b681c883b19ac99dadf6cffc2ce373115adbb13cfcbed"},
  };
  CartellaTemporanea cartella;
  std::string errori;
  ASSERT_NO_FATAL_FAILURE(esegui_programma(cartella, &errori));
  std::vector<std::string> nomi;
  for (const auto& [nome, somma] : attese) nomi.push_back(nome);
  EXPECT_EQ(sha256_dei_file(cartella.percorso(), nomi), attese);
}

TEST(RunSequence, WritesTheFilesInOrderAndDeletesTheScripts) {
  CartellaTemporanea cartella;
  RealFileSystem reale;
  FaultyFileSystem fs(reale);
  InterfacciaTestuale interfaccia;
  testing::internal::CaptureStderr();
  const int esito = avvia(fs, cartella.percorso(), interfaccia);
  const std::string errori = testing::internal::GetCapturedStderr();
  EXPECT_EQ(esito, 0);
  EXPECT_EQ(errori, "Attendere\n");

  // Files completed, in order, and where each script was read and deleted.
  std::vector<std::string> scritti;
  std::vector<std::string> passi;
  for (const Operation& op : fs.log()) {
    if (op.step == Step::kRename) scritti.push_back(nome_di(op.to));
    if (op.step == Step::kCreate && !op.path.ends_with(".tmp")) scritti.push_back(nome_di(op.path));
    const std::string nome = nome_di(op.path);
    if ((op.step == Step::kRead || op.step == Step::kRemove) &&
        (nome == kScriptLinea || nome == kScriptTreno)) {
      passi.push_back(std::string(StepName(op.step)) + " " + nome);
    }
  }
  EXPECT_EQ(scritti, (std::vector<std::string>{kScriptLinea, kScriptTreno, kNote, kRallentamenti,
                                               kScheda, kFileLinea, kFileParametri, kFileCelle}));
  EXPECT_EQ(passi,
            (std::vector<std::string>{
                std::string("read ") + kScriptLinea, std::string("remove ") + kScriptLinea,
                std::string("read ") + kScriptTreno, std::string("remove ") + kScriptTreno}));
  EXPECT_FALSE(cartella.esiste(kScriptLinea));
  EXPECT_FALSE(cartella.esiste(kScriptTreno));
  EXPECT_EQ(contenuto(cartella.percorso()),
            (std::vector<std::string>{kFileCelle, kFileParametri, kNote, kRallentamenti, kScheda,
                                      kFileLinea}));
  EXPECT_EQ(fs.OpenFiles(), 0u);
}

}  // namespace
}  // namespace scenario
