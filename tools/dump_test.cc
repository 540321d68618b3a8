#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "base/file_names.h"
#include "compiler/compile_fixture.h"
#include "output/scenario_files.h"
#include "scripts/builtin_scripts.h"
#include "tools/json_output.h"
#include "tools/tool_test_support.h"

namespace scenario {
namespace {

/// The built-in scenario, compiled once by the tool for every test here.
class DumpBuiltin : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    cartella_ = new CartellaTemporanea;
    ASSERT_EQ(strumento({"scripts", cartella_->percorso()}).stato, 0);
    const Esecuzione e = strumento({"compile", cartella_->percorso(), kNomePercorso, kNumeroTreno});
    ASSERT_EQ(e.stato, 0) << e.err;
  }
  static void TearDownTestSuite() {
    delete cartella_;
    cartella_ = nullptr;
  }

  static std::string linea() { return cartella_->file(nome_file_linea(kNomePercorso)); }
  static std::string parametri() {
    return cartella_->file(nome_file_parametri(kNomePercorso, kNumeroTreno));
  }
  static std::string celle() {
    return cartella_->file(nome_file_celle(kNomePercorso, kNumeroTreno));
  }

  static CartellaTemporanea* cartella_;
};

CartellaTemporanea* DumpBuiltin::cartella_ = nullptr;

TEST_F(DumpBuiltin, DecodedFilesSerializeToTheSameBytes) {
  const std::string byte_linea = contenuto(linea());
  TabellaLinea t;
  ErroreDecodifica err;
  ASSERT_TRUE(decodifica_linea(byte_linea, &t, &err)) << err.messaggio;
  EXPECT_EQ(t.ultima_riga(), 110000);
  EXPECT_EQ(t.tipo(1, 1), TipoVariante::intero);
  EXPECT_EQ(t.valore(1, 1), 1);
  EXPECT_EQ(t.tipo(110000, 0), TipoVariante::vuoto);
  EXPECT_TRUE(serializza_linea(t) == byte_linea);

  const std::string byte_parametri = contenuto(parametri());
  std::array<Parametro, voce::numero_voci> p;
  ASSERT_TRUE(decodifica_parametri(byte_parametri, &p, &err)) << err.messaggio;
  EXPECT_EQ(p[1].nome, "NOVARA");
  EXPECT_EQ(p[1].orario, 51900);
  EXPECT_EQ(p[voce::percorso].valore1, 610);
  EXPECT_EQ(p[voce::percorso].orario, 33296);
  EXPECT_EQ(serializza_parametri(p), byte_parametri);

  const std::string byte_celle = contenuto(celle());
  std::vector<Cella> c;
  ASSERT_TRUE(decodifica_celle(byte_celle, &c, &err)) << err.messaggio;
  ASSERT_EQ(c.size(), 2201u);
  EXPECT_EQ(c[1349].tipo, tipo_cella::segnale);
  EXPECT_EQ(c[1].dato1, 5121);
  EXPECT_EQ(serializza_celle(c), byte_celle);
}

TEST_F(DumpBuiltin, TextNamesCellsAndEntriesAndChecksTheCodes) {
  const Esecuzione sim = strumento({"dump", parametri()});
  EXPECT_EQ(sim.stato, 0) << sim.err;
  EXPECT_NE(sim.out.find("entry 85 (route): nome=\"Zembrastina_Dervo\" tipo=0 inizio=1 fine=0 "
                         "posizione=0 opzione=0 valore1=610 "),
            std::string::npos);
  EXPECT_NE(sim.out.find(" orario=33296\n"), std::string::npos);
  EXPECT_NE(sim.out.find("entry 1 (station): nome=\"NOVARA\" tipo=4 inizio=66350 fine=66850 "
                         "posizione=66600"),
            std::string::npos);
  EXPECT_NE(sim.out.find("entry 80 (sign board): nome=\"(ponte fiume)(T A N A R O)\""),
            std::string::npos);
  EXPECT_NE(sim.out.find("check code st: entry 85 orario=33296, computed 33296 from train "
                         "\"47716\" and route \"Zembrastina_Dervo\": match\n"),
            std::string::npos);

  const Esecuzione dat = strumento({"dump", celle()});
  EXPECT_EQ(dat.stato, 0) << dat.err;
  EXPECT_NE(dat.out.find("cell 1349 at 67400 m: signal tipo=1 dato1=50 dato2=10 dato3=0 dato4=3 "
                         "tempo=0 avvicinamento=0\n"),
            std::string::npos);
  EXPECT_NE(dat.out.find("cell 8 at 350 m: sign board tipo=14 dato1=80"), std::string::npos);
  EXPECT_NE(dat.out.find("cell 1336 at 66750 m: station end tipo=10 dato1=1"), std::string::npos);
  EXPECT_NE(dat.out.find(": match\n"), std::string::npos);
  EXPECT_NE(dat.out.find("cell 30: speed 135 km/h (velocita=27)"), std::string::npos);

  const Esecuzione json = strumento({"dump", "--json", celle()});
  EXPECT_EQ(json.stato, 0);
  const Json j = Json::parse(json.out);
  const Json* segnale = nullptr;
  for (const Json& e : j["elements"]) {
    if (e["cell"] == 1349) segnale = &e;
  }
  ASSERT_NE(segnale, nullptr);
  const Json inizio = {
      {"cell", 1349}, {"metres", 67400}, {"element", "signal"}, {"tipo", 1}, {"dato1", 50}};
  auto campo = segnale->items().begin();
  for (const auto& [chiave, valore] : inizio.items()) {
    ASSERT_EQ(campo.key(), chiave);
    EXPECT_EQ(campo.value(), valore) << chiave;
    ++campo;
  }
  EXPECT_EQ(j["check"]["match"], true);
}

TEST_F(DumpBuiltin, LineFileEveryNthMetreAndTheLast) {
  const Esecuzione e = strumento({"dump", "--step", "40000", linea()});
  EXPECT_EQ(e.stato, 0) << e.err;
  EXPECT_EQ(e.out.substr(0, e.out.find('\n')),
            "line file " + linea() +
                ": metres 0 to 110000, 4 integer, 219994 double and 4 empty elements");
  EXPECT_NE(e.out.find("\nmetre x y\n0 0 0\n40000 "), std::string::npos);
  EXPECT_NE(e.out.find("\n80000 "), std::string::npos);
  EXPECT_NE(e.out.find("\n110000 - -\n"), std::string::npos);

  const Esecuzione j = strumento({"dump", "--json", "--step", "100000", linea()});
  const Json punti = Json::parse(j.out)["points"];
  ASSERT_EQ(punti.size(), 3u);
  EXPECT_EQ(punti[0], Json::array({0, 0, 0}));
  EXPECT_EQ(punti[1][0], 100000);
  EXPECT_TRUE(punti[1][1].is_number_float());
  EXPECT_EQ(punti[2], Json::array({110000, nullptr, nullptr}));
}

TEST_F(DumpBuiltin, MismatchedCheckCodesAreStatusOne) {
  CartellaTemporanea copia;
  // Entry 85's orario is the last field before entry 86.
  std::string sim = contenuto(parametri());
  const std::size_t orario_85 = sim.size() - (kDimensioneParametro + 5) - 4;
  sim[orario_85] ^= 1;
  copia.scrivi("R_T.sim", sim);
  const Esecuzione e = strumento({"dump", copia.file("R_T.sim")});
  EXPECT_EQ(e.stato, 1);
  EXPECT_NE(e.out.find("MISMATCH"), std::string::npos);

  // A cell file beside the parameter file of another train.
  std::array<Parametro, voce::numero_voci> altro;
  altro[voce::percorso].nome = kNomePercorso;
  altro[voce::ripetizione].nome = "99999";
  copia.scrivi("R_U.sim", serializza_parametri(altro));
  copia.scrivi("R_U.dat", contenuto(celle()));
  const Esecuzione c = strumento({"dump", copia.file("R_U.dat")});
  EXPECT_EQ(c.stato, 1);
  EXPECT_NE(c.out.find("MISMATCH"), std::string::npos);

  // Alone, a cell file cannot be checked and is not a failure.
  copia.scrivi("R_V.dat", contenuto(celle()));
  const Esecuzione v = strumento({"dump", copia.file("R_V.dat")});
  EXPECT_EQ(v.stato, 0);
  EXPECT_NE(v.out.find("no parameter file"), std::string::npos);
}

TEST_F(DumpBuiltin, TruncatedFilesNameTheByteOffset) {
  const std::string l = contenuto(linea());
  const std::string p = contenuto(parametri());
  const std::string c = contenuto(celle());
  struct Caso {
    const char* nome;
    std::string bytes;
    std::string atteso;  ///< the message after "FILE: "
  };
  // Entry 85 starts 34 + 5 + 34 + 17 bytes before the end: its text after
  // 16 bytes.
  const std::size_t testo_85 = p.size() - (34 + 5) - (34 + 17) + 16;
  const Caso casi[] = {
      // The cut falls in the last double of coordinate 1, at metre 109998,
      // before the two empty elements of metres 109999 and 110000.
      {"R_linea.dat", l.substr(0, l.size() - 2 - 2 - 7),
       "byte 2199950: truncated element 219999: tag 5 needs 8 value bytes, 1 left"},
      {"R_linea.dat", l.substr(0, 1),
       "byte 0: truncated element 0: only 1 of the 2 bytes of its tag"},
      {"R_linea.dat", std::string("\x07\x00", 2), "byte 0: element 0 has unknown tag 7"},
      {"R_linea.dat", std::string("\x00\x00", 2), "byte 2: odd number of elements (1)"},
      {"R_T.sim", p.substr(0, testo_85 + 3),
       "byte " + std::to_string(testo_85) +
           ": truncated entry 85: its text of 17 characters runs past the end, 3 bytes left"},
      {"R_T.sim", p + "x", "byte " + std::to_string(p.size()) + ": 1 byte after the 87th entry"},
      {"R_T.sim", p.substr(0, 34), "byte 34: the file ends after 1 of the 87 entries"},
      {"R_T.sim", p.substr(0, 33),
       "byte 30: truncated entry 0: field orario needs 4 bytes, 3 left"},
      {"R_T.sim", "", "byte 0: empty parameter file"},
      {"R_T.dat", c.substr(0, c.size() - 7), "byte 33000: truncated cell 2200: 8 of its 15 bytes"},
      {"R_T.dat", "", "byte 0: empty cell file"},
  };
  CartellaTemporanea copia;
  for (const Caso& caso : casi) {
    copia.scrivi(caso.nome, caso.bytes);
    const Esecuzione e = strumento({"dump", copia.file(caso.nome)});
    EXPECT_EQ(e.stato, 2) << caso.atteso;
    EXPECT_EQ(e.err.find("scenario_tool dump: " + copia.file(caso.nome) + ": "), 0u) << e.err;
    EXPECT_NE(e.err.find(caso.atteso), std::string::npos) << e.err;
    EXPECT_TRUE(e.out.empty());
  }
}

TEST_F(DumpBuiltin, ArbitraryBytesNeverCrashTheDecoder) {
  const std::string originali[] = {contenuto(parametri()), contenuto(celle()),
                                   contenuto(linea()).substr(0, 4000)};
  std::mt19937 caso(12345);
  TabellaLinea t;
  std::array<Parametro, voce::numero_voci> p;
  std::vector<Cella> c;
  ErroreDecodifica err;
  auto tutti = [&](const std::string& b) {
    if (!decodifica_linea(b, &t, &err) || !decodifica_parametri(b, &p, &err) ||
        !decodifica_celle(b, &c, &err)) {
      EXPECT_LE(err.offset, b.size());
      EXPECT_FALSE(err.messaggio.empty());
    }
  };
  // Every prefix of the parameter file, then random flips of every file.
  for (std::size_t n = 0; n <= originali[0].size(); ++n) tutti(originali[0].substr(0, n));
  for (int giro = 0; giro < 2000; ++giro) {
    std::string b = originali[static_cast<std::size_t>(giro % 3)];
    for (int k = 0; k < 4; ++k) b[caso() % b.size()] = static_cast<char>(caso());
    b.resize(caso() % (b.size() + 1));
    tutti(b);
  }
}

TEST(DumpTesti, Windows1252TextsBecomeUtf8InTextAndJson) {
  CartellaTemporanea cartella;
  Parametri p;
  p[1].nome = "Citt\xe0 \x80";
  p[1].posizione = 500;
  p[80].nome = std::string("\x81\xff\"\x01", 4);
  cartella.scrivi("R_T.sim", serializza_parametri(p));

  const Esecuzione testo = strumento({"dump", cartella.file("R_T.sim")});
  EXPECT_NE(testo.out.find("entry 1 (station): nome=\"Citt\xc3\xa0 \xe2\x82\xac\""),
            std::string::npos)
      << testo.out;
  EXPECT_NE(testo.out.find("entry 80 (sign board): nome=\"\xc2\x81\xc3\xbf\\\"\\x01\""),
            std::string::npos)
      << testo.out;

  const Esecuzione json = strumento({"dump", "--json", cartella.file("R_T.sim")});
  // ASCII only, and valid JSON whose texts are the UTF-8 of the file's.
  for (char c : json.out) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
  const Json j = Json::parse(json.out);
  EXPECT_EQ(j["entries"][1]["nome"], "Citt\xc3\xa0 \xe2\x82\xac");
  EXPECT_EQ(j["entries"][1]["role"], "station");
  EXPECT_EQ(j["entries"][80]["nome"], "\xc2\x81\xc3\xbf\"\x01");
  EXPECT_EQ(j["entries"][80]["role"], "sign board");
  EXPECT_EQ(j["entries"][2]["role"], "empty");
}

TEST(DumpUso, UnknownKindAndBadStepAreUsageErrors) {
  EXPECT_EQ(strumento({"dump", "scenario.txt"}).stato, 2);
  EXPECT_NE(strumento({"dump", "x.txt"}).err.find("cannot tell what x.txt is"), std::string::npos);
  EXPECT_NE(strumento({"dump", "--step", "0", "a_linea.dat"}).err.find("from 1 to"),
            std::string::npos);
  EXPECT_EQ(strumento({"dump", "--step", "x", "a_linea.dat"}).stato, 2);
  EXPECT_NE(strumento({"dump", "/nonexistent/a.dat"}).err.find("cannot read"), std::string::npos);
  EXPECT_EQ(strumento({"dump"}).stato, 2);
}

TEST(TipoDaNome, TellsTheThreeFilesApart) {
  EXPECT_EQ(tipo_da_nome("dir/Zembrastina_Dervo_linea.dat"), TipoFile::linea);
  EXPECT_EQ(tipo_da_nome("Zembrastina_Dervo_47716.sim"), TipoFile::parametri);
  EXPECT_EQ(tipo_da_nome("Zembrastina_Dervo_47716.dat"), TipoFile::celle);
  EXPECT_EQ(tipo_da_nome("Zembrastina_Dervo_linea.txt"), TipoFile::sconosciuto);
  EXPECT_EQ(tipo_da_nome(".sim"), TipoFile::parametri);
  EXPECT_EQ(tipo_da_nome("sim"), TipoFile::sconosciuto);
}

}  // namespace
}  // namespace scenario
