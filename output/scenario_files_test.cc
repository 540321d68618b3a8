#include "output/scenario_files.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/testing/faulty_file_system.h"
#include "base/testing/temporary_folder.h"

namespace scenario {
namespace {

/// Bytes from a list of values 0 to 255.
std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

/// The little-endian bytes of a double.
std::string DoubleBytes(double v) {
  std::uint64_t u;
  std::memcpy(&u, &v, sizeof u);
  std::string s;
  for (int shift = 0; shift < 64; shift += 8) s.push_back(static_cast<char>(u >> shift));
  return s;
}

TEST(SerializzaCelle, RecordsAreFifteenPackedLittleEndianBytes) {
  std::vector<Cella> celle(3);
  Cella& c = celle[1];
  c.tipo = 1;
  c.dato1 = 5121;  // 0x1401
  c.dato2 = -2;
  c.dato3 = -32768;
  c.dato4 = 32767;
  c.tempo = 7;
  c.avvicinamento = 84;
  c.montagna = 3;
  c.velocita = 255;
  c.pendenza = 95;
  c.aderenza = 70;
  celle[2].tipo = 12;
  celle[2].dato1 = 180;

  const std::string bytes = serializza_celle(celle);
  ASSERT_EQ(bytes.size(), 3 * kDimensioneCella);
  EXPECT_EQ(bytes.substr(0, 15), std::string(15, '\0'));
  EXPECT_EQ(bytes.substr(15, 15),
            Bytes({1, 0x01, 0x14, 0xFE, 0xFF, 0x00, 0x80, 0xFF, 0x7F, 7, 84, 3, 255, 95, 70}));
  EXPECT_EQ(bytes.substr(30, 15), Bytes({12, 180, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(SerializzaParametri, RecordIsThirtyFourBytesPlusText) {
  std::array<Parametro, voce::numero_voci> parametri;
  Parametro& p = parametri[1];
  p.tipo = 25;
  p.inizio = 0x01020304;
  p.fine = -1;
  p.posizione = 67400;  // 0x00010748
  p.opzione = 2;
  p.nome = "Dervo";
  p.valore1 = -3;
  p.valore2 = 2;
  p.valore3 = 0x1234;
  p.valore4 = 4;
  p.valore5 = 5;
  p.flag1 = 6;
  p.flag2 = 7;
  p.flag3 = 8;
  p.flag4 = 9;
  p.orario = 8 * 3600 + 30 * 60 + 15;  // 30615 = 0x7797
  parametri[voce::percorso].nome = "Zembrastina_Dervo";

  const std::string bytes = serializza_parametri(parametri);
  ASSERT_EQ(bytes.size(), voce::numero_voci * kDimensioneParametro + 5 + 17);
  // Entry 0 is all zeros with an empty text: exactly 34 bytes.
  EXPECT_EQ(bytes.substr(0, kDimensioneParametro), std::string(kDimensioneParametro, '\0'));
  const std::string record = bytes.substr(kDimensioneParametro, kDimensioneParametro + 5);
  EXPECT_EQ(record,
            Bytes({25,   0x04, 0x03, 0x02, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x48, 0x07, 0x01, 0x00,
                   2,    5,    0,    'D',  'e',  'r',  'v',  'o',  0xFD, 0xFF, 2,    0,    0x34,
                   0x12, 4,    0,    5,    0,    6,    7,    8,    9,    0x97, 0x77, 0,    0}));
  // Entry 2 follows at once, and entry 85 carries its 17 characters.
  EXPECT_EQ(bytes.substr(2 * kDimensioneParametro + 5, kDimensioneParametro),
            std::string(kDimensioneParametro, '\0'));
  const std::size_t voce85 = voce::percorso * kDimensioneParametro + 5;
  EXPECT_EQ(bytes.substr(voce85 + 14, 19), Bytes({17, 0}) + "Zembrastina_Dervo");
}

TEST(SerializzaLinea, CoordinateZeroForEveryMetreThenCoordinateOne) {
  TabellaLinea tabella;
  tabella.dimensiona(3);
  tabella.imposta_intero(0, 0, 0);
  tabella.imposta_intero(0, 1, 0);
  tabella.imposta_intero(1, 0, -2);
  tabella.imposta_intero(1, 1, 1);
  tabella.imposta_doppio(2, 0, 1.5);
  tabella.imposta_doppio(2, 1, -0.1);

  const std::string expected =
      // coordinate 0, metres 0 to 3
      Bytes({2, 0, 0, 0}) + Bytes({2, 0, 0xFE, 0xFF}) + Bytes({5, 0}) + DoubleBytes(1.5) +
      Bytes({0, 0}) +
      // coordinate 1, metres 0 to 3
      Bytes({2, 0, 0, 0}) + Bytes({2, 0, 1, 0}) + Bytes({5, 0}) + DoubleBytes(-0.1) + Bytes({0, 0});
  EXPECT_EQ(serializza_linea(tabella), expected);
  EXPECT_EQ(DoubleBytes(1.5), Bytes({0, 0, 0, 0, 0, 0, 0xF8, 0x3F}));
}

/// What the three files are written from, as a compile leaves it.
struct StatoProva {
  std::string nome_percorso;
  std::string numero_treno;
  std::int32_t crea_linea = 0;
  std::int32_t lunghezza_tabella = 0;
  std::int32_t numero_celle = 0;
  std::vector<Cella> celle;
  Parametri parametri;
  TabellaLinea tabella_linea;

  FileScenario file() const {
    return {nome_percorso, numero_treno, tabella_linea, parametri, celle, crea_linea != 0};
  }
};

/// A state dimensioned as the reader does for a route of `lunghezza` metres,
/// with the geometry filled as a complete compile leaves it.
StatoProva StatoPerPercorso(std::int32_t lunghezza) {
  StatoProva stato;
  stato.nome_percorso = "Zembrastina_Dervo";
  stato.numero_treno = "47716";
  stato.crea_linea = 1;
  stato.lunghezza_tabella = lunghezza + 7000;
  stato.numero_celle = (lunghezza + 7000) / 50;
  stato.celle.resize(static_cast<std::size_t>(stato.numero_celle) + 1);
  stato.tabella_linea.dimensiona(stato.lunghezza_tabella);
  stato.tabella_linea.imposta_intero(0, 0, 0);
  stato.tabella_linea.imposta_intero(0, 1, 0);
  stato.tabella_linea.imposta_intero(1, 0, 0);
  stato.tabella_linea.imposta_intero(1, 1, 1);
  for (std::int32_t m = 2; m <= stato.lunghezza_tabella - 2; ++m) {
    stato.tabella_linea.imposta_doppio(m, 0, m * 0.5);
    stato.tabella_linea.imposta_doppio(m, 1, m);
  }
  stato.parametri[voce::percorso].nome = stato.nome_percorso;
  stato.parametri[voce::ripetizione].nome = stato.numero_treno;
  return stato;
}

TEST(SerializzaFile, BuiltInRouteSizes) {
  StatoProva stato = StatoPerPercorso(103000);
  ASSERT_EQ(stato.numero_celle, 2200);
  stato.celle[1349].tipo = tipo_cella::segnale;

  const std::string celle = serializza_celle(stato.celle);
  EXPECT_EQ(celle.size(), 33015u);
  EXPECT_EQ(celle[20235], 1);

  const std::string linea = serializza_linea(stato.tabella_linea);
  ASSERT_EQ(linea.size(), 2199964u);
  const std::size_t coordinata = 1099982;
  EXPECT_EQ(linea.substr(0, 10), Bytes({2, 0, 0, 0, 2, 0, 0, 0, 5, 0}));
  EXPECT_EQ(linea.substr(coordinata - 4, 12), Bytes({0, 0, 0, 0, 2, 0, 0, 0, 2, 0, 1, 0}));
  EXPECT_EQ(linea.substr(coordinata + 8, 10), Bytes({5, 0}) + DoubleBytes(2.0));
  EXPECT_EQ(linea.substr(linea.size() - 14),
            Bytes({5, 0}) + DoubleBytes(109998.0) + Bytes({0, 0, 0, 0}));

  EXPECT_EQ(serializza_parametri(stato.parametri).size(), 87u * 34 + 17 + 5);
}

TEST(SerializzaFile, RouteOfLengthZeroHasSevenThousandAndOneMetres) {
  const StatoProva stato = StatoPerPercorso(0);
  EXPECT_EQ(serializza_linea(stato.tabella_linea).size(), 2u * (2 * 4 + 6997 * 10 + 2 * 2));
  EXPECT_EQ(serializza_celle(stato.celle).size(), 141u * 15);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

/// The names, in order, of the files created in the log.
std::vector<std::string> Created(const FaultyFileSystem& fs) {
  std::vector<std::string> names;
  for (const Operation& op : fs.log()) {
    if (op.step == Step::kCreate) names.push_back(op.path.substr(op.path.rfind('/') + 1));
  }
  return names;
}

/// A small state: 1000 m of route.
StatoProva StatoPiccolo() {
  StatoProva stato = StatoPerPercorso(1000);
  stato.celle[1].dato1 = 5121;
  stato.parametri[1].nome = "Dervo";
  return stato;
}

TEST(ScriviFileScenario, WritesLineParameterAndCellFileInOrder) {
  CartellaTemporanea folder;
  const StatoProva stato = StatoPiccolo();
  // Older, longer files of the same names are replaced whole.
  WriteBytes(folder.file("Zembrastina_Dervo_47716.dat"), std::string(200000, 'x'));
  WriteBytes(folder.file("Zembrastina_Dervo_linea.dat"), std::string(500000, 'x'));

  RealFileSystem real;
  FaultyFileSystem fs(real);
  std::vector<std::string> scritti;
  std::string err;
  ASSERT_TRUE(scrivi_file_scenario(fs, folder.percorso(), stato.file(), &scritti, &err)) << err;

  const std::vector<std::string> nomi = {
      "Zembrastina_Dervo_linea.dat", "Zembrastina_Dervo_47716.sim", "Zembrastina_Dervo_47716.dat"};
  EXPECT_EQ(scritti, nomi);
  EXPECT_EQ(ReadBytes(folder.file(nomi[0])), serializza_linea(stato.tabella_linea));
  EXPECT_EQ(ReadBytes(folder.file(nomi[1])), serializza_parametri(stato.parametri));
  EXPECT_EQ(ReadBytes(folder.file(nomi[2])), serializza_celle(stato.celle));

  // Each file is written whole to a temporary of its own and renamed into
  // place before the next one is begun.
  ASSERT_EQ(fs.log().size(), 6 * nomi.size());
  std::vector<std::string> atteso;
  for (std::size_t i = 0; i < nomi.size(); ++i) {
    const std::string finale = folder.file(nomi[i]);
    const std::string temporaneo = fs.log()[6 * i + 1].path;
    EXPECT_TRUE(IsTemporaryFor(temporaneo, finale)) << temporaneo;
    atteso.push_back("inspect " + finale);
    for (const char* passo : {"create ", "write ", "flush ", "close "})
      atteso.push_back(passo + temporaneo);
    atteso.push_back("rename " + temporaneo + " -> " + finale);
  }
  EXPECT_EQ(fs.LogLines(), atteso);
}

TEST(ScriviFileScenario, GeometryWithGapsIsWrittenWhole) {
  // A reading that stopped early leaves most rows empty: far too many
  // ranges to write from the slots, so the bytes go out from one buffer.
  StatoProva stato = StatoPiccolo();
  for (std::int32_t m = 100; m <= stato.lunghezza_tabella; m += 2) {
    stato.tabella_linea.imposta_intero(m, 0, static_cast<std::int16_t>(-m));
    stato.tabella_linea.imposta_doppio(m + 1 <= stato.lunghezza_tabella ? m + 1 : m, 1, 0.25);
  }
  std::string expected;
  for (int c = 0; c < 2; ++c) {
    for (std::int32_t m = 0; m <= stato.lunghezza_tabella; ++m) {
      const TipoVariante t = stato.tabella_linea.tipo(m, c);
      if (t == TipoVariante::vuoto) {
        expected += Bytes({0, 0});
      } else if (t == TipoVariante::intero) {
        const auto v = static_cast<std::uint16_t>(stato.tabella_linea.valore(m, c));
        expected +=
            Bytes({2, 0, static_cast<unsigned char>(v & 0xFF), static_cast<unsigned char>(v >> 8)});
      } else {
        expected += Bytes({5, 0}) + DoubleBytes(stato.tabella_linea.valore(m, c));
      }
    }
  }
  CartellaTemporanea folder;
  RealFileSystem fs;
  std::vector<std::string> written;
  std::string err;
  ASSERT_TRUE(scrivi_file_scenario(fs, folder.percorso(), stato.file(), &written, &err)) << err;
  EXPECT_EQ(ReadBytes(folder.file("Zembrastina_Dervo_linea.dat")), expected);
  std::string riserva;
  EXPECT_EQ(parti_linea(stato.tabella_linea, &riserva).size(), 1u);
}

TEST(ScriviFileScenario, WithoutLineLeavesAnOlderLineFileAlone) {
  CartellaTemporanea folder;
  StatoProva stato = StatoPiccolo();
  stato.crea_linea = 0;
  const std::string vecchia("line file of an earlier run", 27);
  WriteBytes(folder.file("Zembrastina_Dervo_linea.dat"), vecchia);

  RealFileSystem real;
  FaultyFileSystem fs(real);
  std::vector<std::string> scritti;
  std::string err;
  ASSERT_TRUE(scrivi_file_scenario(fs, folder.percorso(), stato.file(), &scritti, &err)) << err;
  EXPECT_EQ(scritti, (std::vector<std::string>{"Zembrastina_Dervo_47716.sim",
                                               "Zembrastina_Dervo_47716.dat"}));
  EXPECT_EQ(ReadBytes(folder.file("Zembrastina_Dervo_linea.dat")), vecchia);
  for (const Operation& op : fs.log()) {
    EXPECT_EQ(op.path.find("linea"), std::string::npos) << op.ToString();
  }
}

TEST(ScriviFileScenario, StopsAtTheFirstFailingFile) {
  CartellaTemporanea folder;
  const StatoProva stato = StatoPiccolo();
  const std::string vecchia = "older parameter file";
  WriteBytes(folder.file("Zembrastina_Dervo_47716.sim"), vecchia);

  RealFileSystem real;
  FaultyFileSystem fs(real);
  fs.Fail(Step::kWrite, 1, ".sim");
  std::vector<std::string> scritti;
  std::string err;
  EXPECT_FALSE(scrivi_file_scenario(fs, folder.percorso(), stato.file(), &scritti, &err));
  EXPECT_NE(err.find("Zembrastina_Dervo_47716.sim"), std::string::npos) << err;
  EXPECT_EQ(scritti, std::vector<std::string>{"Zembrastina_Dervo_linea.dat"});
  EXPECT_EQ(ReadBytes(folder.file("Zembrastina_Dervo_47716.sim")), vecchia);
  EXPECT_FALSE(std::filesystem::exists(folder.file("Zembrastina_Dervo_47716.dat")));
  const std::vector<std::string> creati = Created(fs);
  ASSERT_EQ(creati.size(), 2u);
  EXPECT_TRUE(IsTemporaryFor(creati[0], "Zembrastina_Dervo_linea.dat")) << creati[0];
  EXPECT_TRUE(IsTemporaryFor(creati[1], "Zembrastina_Dervo_47716.sim")) << creati[1];
}

}  // namespace
}  // namespace scenario
