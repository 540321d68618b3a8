#include "scripts/builtin_scripts.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "base/file_names.h"
#include "base/testing/temporary_folder.h"
#include "base/testing/text_lines.h"
#include "scripts/field_reader.h"

namespace scenario {
namespace {

const char kPercorso[] = "Zembrastina_Dervo";
const char kTreno[] = "47716";

/// The reads that one line of a script takes, chosen by how the line
/// begins: t = text, l = 32-bit, i = 16-bit, b = Byte.
struct Formato {
  std::string_view inizio;
  std::string_view letture;
};

const Formato kFormatiLinea[] = {
    {"[", "t"},
    {"lunghezza percorso,", "tl"},
    {"progressiva chilometrica ", "tlll"},
    {"sfondo ", "tl"},
    {"ripetizione segnali ", "tll"},
    {"curva", "tll"},
    {"pendenza,", "tll"},
    {"montagna,", "tlll"},
    {"indicatori_vmax,", "tlllllllll"},
    {"cartello_indicatore,", "tlt"},
};

const Formato kFormatiTreno[] = {
    {"[", "t"},
    {"numero vetture,", "tl"},
    {"percentuale massa frenata,", "tl"},
    {"sabbia,", "ti"},
    {"orologio,", "tiii"},
    {"aderenza,", "tll"},
    {"velocita,", "tll"},
    {"stazione,", "tlblbbbiibiiiblllt"},
    {"rallentamento,", "tllllll"},
    {"segnale,", "tlllllllllll"},
};

/// Reads the fields of every line of `testo` through a `FieldReader`, each
/// line by the format its beginning selects, and checks that every line
/// gives exactly its fields.
template <std::size_t N>
std::vector<std::vector<std::string>> LeggiCampi(const std::string& testo,
                                                 const std::vector<std::string>& righe,
                                                 const Formato (&formati)[N]) {
  std::vector<std::vector<std::string>> campi;
  FieldReader lettore(testo);
  for (std::size_t n = 0; n < righe.size(); ++n) {
    const int riga = static_cast<int>(n) + 1;
    std::string_view letture;
    for (const Formato& formato : formati) {
      if (righe[n].starts_with(formato.inizio)) {
        letture = formato.letture;
        break;
      }
    }
    EXPECT_FALSE(letture.empty()) << "line " << riga << " has no known format";
    campi.emplace_back();
    for (char tipo : letture) {
      std::string valore;
      bool ok = false;
      if (tipo == 't') {
        ok = lettore.ReadText(&valore);
      } else if (tipo == 'l') {
        std::int32_t v = 0;
        ok = lettore.ReadLong(&v);
        valore = std::to_string(v);
      } else if (tipo == 'i') {
        std::int16_t v = 0;
        ok = lettore.ReadInteger(&v);
        valore = std::to_string(v);
      } else {
        std::uint8_t v = 0;
        ok = lettore.ReadByte(&v);
        valore = std::to_string(v);
      }
      if (!ok) {
        ADD_FAILURE() << "line " << riga << ": field " << campi.back().size() << " unreadable";
        return campi;
      }
      EXPECT_EQ(lettore.FieldLine(), riga) << "field " << campi.back().size();
      campi.back().push_back(valore);
    }
    EXPECT_EQ(lettore.CurrentLine(), riga + 1) << "line " << riga << " has fields left over";
  }
  EXPECT_TRUE(lettore.AtEnd());
  return campi;
}

/// `n` right-aligned in `larghezza` characters.
std::string ADestra(const std::string& n, std::size_t larghezza) {
  return std::string(larghezza > n.size() ? larghezza - n.size() : 0, ' ') + n;
}

/// Checks that from line `prima` on, the records of each section stand in
/// strictly ascending order of their position, each a multiple of 50.
void OrdineDellePosizioni(const std::vector<std::vector<std::string>>& campi, std::size_t prima) {
  long precedente = LONG_MIN;
  for (std::size_t n = prima - 1; n < campi.size(); ++n) {
    if (campi[n].size() < 2) {
      precedente = LONG_MIN;  // a section header
      continue;
    }
    const long posizione = std::stol(campi[n][1]);
    EXPECT_GT(posizione, precedente) << "line " << n + 1;
    EXPECT_EQ(posizione % 50, 0) << "line " << n + 1;
    precedente = posizione;
  }
}

class BuiltinScripts : public testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(cartella_.percorso().empty()); }

  std::string PercorsoLinea() const {
    return percorso_in(cartella_.percorso(), nome_script_linea(kPercorso));
  }
  std::string PercorsoTreno() const {
    return percorso_in(cartella_.percorso(), nome_script_treno(kPercorso, kTreno));
  }
  std::string Leggi(const std::string& percorso) {
    std::string testo, err;
    EXPECT_TRUE(fs_.ReadFile(percorso, &testo, &err)) << err;
    return testo;
  }

  CartellaTemporanea cartella_;
  RealFileSystem fs_;
};

TEST_F(BuiltinScripts, LineScriptFile) {
  std::string err;
  ASSERT_TRUE(dati_linea(fs_, cartella_.percorso(), kPercorso, &err)) << err;
  EXPECT_TRUE(fs_.IsRegularFile(cartella_.percorso() + "/Zembrastina_Dervo_linea.txt"));
  const std::string testo = Leggi(PercorsoLinea());
  EXPECT_EQ(testo.size(), 5623u);
  EXPECT_EQ(testo.find("riferimento fine del file"), std::string::npos);

  const std::vector<std::string> righe = righe_crlf(testo);
  ASSERT_EQ(righe.size(), 157u);
  EXPECT_EQ(righe.front(), "[generale]");
  EXPECT_EQ(righe.back(), "[fine]");
  EXPECT_EQ(righe[8], "ripetizione segnali 4 codici,    0    ,0");
  for (std::size_t n = 0; n < righe.size(); ++n) {
    EXPECT_EQ(righe[n], kScriptLinea[n]) << "line " << n + 1;
    ASSERT_FALSE(righe[n].empty()) << "line " << n + 1;
    EXPECT_NE(righe[n].front(), ' ') << "line " << n + 1;
    EXPECT_NE(righe[n].back(), ' ') << "line " << n + 1;
    for (unsigned char c : righe[n]) EXPECT_LT(c, 0x80) << "line " << n + 1;
  }
}

TEST_F(BuiltinScripts, TrainScriptFile) {
  std::string err;
  ASSERT_TRUE(dati_treno(fs_, cartella_.percorso(), kPercorso, kTreno, &err)) << err;
  EXPECT_TRUE(fs_.IsRegularFile(cartella_.percorso() + "/Zembrastina_Dervo_47716-.txt"));
  const std::string testo = Leggi(PercorsoTreno());
  EXPECT_EQ(testo.size(), 2217u);
  EXPECT_EQ(testo.find("riferimento fine del file"), std::string::npos);

  const std::vector<std::string> righe = righe_crlf(testo);
  ASSERT_EQ(righe.size(), 53u);
  EXPECT_EQ(righe.front(), "[generale]");
  EXPECT_EQ(righe[51], "[codici]");
  EXPECT_EQ(righe.back(), "[fine]");
  EXPECT_EQ(righe[4], "orologio,    14              24            40 ");
  for (std::size_t n = 0; n < righe.size(); ++n) {
    EXPECT_EQ(righe[n], kScriptTreno[n]) << "line " << n + 1;
    ASSERT_FALSE(righe[n].empty()) << "line " << n + 1;
    EXPECT_NE(righe[n].front(), ' ') << "line " << n + 1;
    if (n != 4) {
      EXPECT_NE(righe[n].back(), ' ') << "line " << n + 1;
    }
    for (unsigned char c : righe[n]) EXPECT_LT(c, 0x80) << "line " << n + 1;
  }
  for (std::size_t n = 9; n <= 24; ++n) {
    EXPECT_TRUE(righe[n].starts_with("velocita,")) << "line " << n + 1;
    EXPECT_EQ(righe[n].size(), 24u) << "line " << n + 1;
  }
}

TEST_F(BuiltinScripts, LongerFilesAreReplacedWhole) {
  std::string err;
  const std::string vecchio(20000, '#');
  ASSERT_TRUE(ReplaceFile(fs_, PercorsoLinea(), vecchio, &err)) << err;
  ASSERT_TRUE(ReplaceFile(fs_, PercorsoTreno(), vecchio, &err)) << err;
  ASSERT_TRUE(dati_linea(fs_, cartella_.percorso(), kPercorso, &err)) << err;
  ASSERT_TRUE(dati_treno(fs_, cartella_.percorso(), kPercorso, kTreno, &err)) << err;
  const std::string linea = Leggi(PercorsoLinea());
  const std::string treno = Leggi(PercorsoTreno());
  EXPECT_EQ(linea.size(), 5623u);
  EXPECT_EQ(treno.size(), 2217u);
  EXPECT_EQ(linea.find('#'), std::string::npos);
  EXPECT_EQ(treno.find('#'), std::string::npos);
  EXPECT_TRUE(treno.starts_with("[generale]\r\n"));
}

TEST_F(BuiltinScripts, FailureIsReported) {
  std::string err;
  EXPECT_FALSE(dati_linea(fs_, cartella_.percorso() + "/assente", kPercorso, &err));
  EXPECT_FALSE(err.empty());
  err.clear();
  EXPECT_FALSE(dati_treno(fs_, cartella_.percorso() + "/assente", kPercorso, kTreno, &err));
  EXPECT_FALSE(err.empty());
}

TEST_F(BuiltinScripts, LineScriptFields) {
  std::string err;
  ASSERT_TRUE(dati_linea(fs_, cartella_.percorso(), kPercorso, &err)) << err;
  const std::string testo = Leggi(PercorsoLinea());
  const std::vector<std::string> righe = righe_crlf(testo);
  const auto campi = LeggiCampi(testo, righe, kFormatiLinea);
  ASSERT_EQ(campi.size(), 157u);

  using Campi = std::vector<std::string>;
  EXPECT_EQ(campi[1], (Campi{"lunghezza percorso", "103000"}));
  EXPECT_EQ(campi[3], (Campi{"progressiva chilometrica due", "1500", "-1500", "0"}));
  EXPECT_EQ(campi[8], (Campi{"ripetizione segnali 4 codici", "0", "0"}));
  EXPECT_EQ(campi[87], (Campi{"montagna", "8700", "11050", "11"}));
  EXPECT_EQ(campi[89],
            (Campi{"indicatori_vmax", "1550", "125", "135", "135", "0", "0", "0", "0", "0"}));
  EXPECT_EQ(campi[146], (Campi{"cartello_indicatore", "70050",
                               "(  diramazioni  )(per VARALLO S. )(per BORGOMANERO)"}));
  const char* sezioni[] = {"[curve]", "[pendenze]", "[montagne]", "[cartelli]", "[indicazioni]"};
  const std::size_t righe_sezioni[] = {10, 51, 87, 89, 100};
  for (int s = 0; s < 5; ++s) EXPECT_EQ(righe[righe_sezioni[s] - 1], sezioni[s]);

  // Each line written back from its fields by the layout of its record.
  int pendenze_negative = 0;
  long fine_curva = 0;
  for (std::size_t n = 0; n < campi.size(); ++n) {
    const Campi& c = campi[n];
    std::string atteso = righe[n];
    if (c[0].starts_with("curva")) {
      EXPECT_TRUE(c[0].size() == 7 && (c[0][5] == 's' || c[0][5] == 'd') && c[0][6] >= '1' &&
                  c[0][6] <= '6')
          << c[0];
      atteso = c[0] + ",  " + c[1] + ",  " + c[2];
      EXPECT_GE(std::stol(c[1]), fine_curva) << "curves overlap at line " << n + 1;
      fine_curva = std::stol(c[1]) + std::stol(c[2]);
    } else if (c[0] == "pendenza") {
      atteso = c[0] + ",  " + c[1] + ",   " + c[2];
      if (std::stol(c[2]) < 0) ++pendenze_negative;
    } else if (c[0] == "cartello_indicatore") {
      atteso = c[0] + ",  " + c[1] + ",   " + c[2];
    }
    EXPECT_EQ(righe[n], atteso) << "line " << n + 1;
  }
  EXPECT_EQ(pendenze_negative, 10);
  OrdineDellePosizioni(campi, 10);
}

TEST_F(BuiltinScripts, TrainScriptFields) {
  std::string err;
  ASSERT_TRUE(dati_treno(fs_, cartella_.percorso(), kPercorso, kTreno, &err)) << err;
  const std::string testo = Leggi(PercorsoTreno());
  const std::vector<std::string> righe = righe_crlf(testo);
  const auto campi = LeggiCampi(testo, righe, kFormatiTreno);
  ASSERT_EQ(campi.size(), 53u);

  using Campi = std::vector<std::string>;
  EXPECT_EQ(campi[4], (Campi{"orologio", "14", "24", "40"}));
  EXPECT_EQ(campi[26], (Campi{"stazione", "66600", "4", "500", "1", "0", "0", "4", "1", "0", "2",
                              "1", "1", "1", "14", "25", "0", "NOVARA"}));
  EXPECT_EQ(campi[37], (Campi{"rallentamento", "93800", "40", "200", "0", "1", "0"}));
  EXPECT_EQ(campi[39],
            (Campi{"segnale", "67400", "1", "5", "1", "0", "0", "0", "0", "0", "0", "0"}));

  const char* nomi[] = {
      "NOVARA",        "VIGNALE",        "P. M. CAMERI", "BELLINZAGO",        "OLEGGIO",
      "MARANO TICINO", "VARALLO POMBIA", "BORGO TICINO", "DORMELLETTO PAESE", "DERVO"};
  std::size_t stazioni = 0;
  for (std::size_t n = 0; n < campi.size(); ++n) {
    const Campi& c = campi[n];
    if (c[0] == "velocita") {
      EXPECT_EQ(righe[n], "velocita," + ADestra(c[1], 8) + "," + ADestra(c[2], 6));
    } else if (c[0] == "segnale") {
      EXPECT_TRUE(righe[n].starts_with("segnale," + ADestra(c[1], 8) + ",")) << righe[n];
      EXPECT_TRUE(righe[n].ends_with(", " + c[11])) << righe[n];
    } else if (c[0] == "stazione") {
      ASSERT_LT(stazioni, 10u);
      EXPECT_EQ(c[17], nomi[stazioni++]);
      EXPECT_TRUE(righe[n].starts_with("stazione," + ADestra(c[1], 8) + ",")) << righe[n];
      EXPECT_TRUE(righe[n].ends_with(", " + c[17])) << righe[n];
      EXPECT_EQ(std::stol(c[3]) % 100, 0) << "line " << n + 1;
    }
  }
  EXPECT_EQ(stazioni, 10u);
  OrdineDellePosizioni(campi, 6);
}

}  // namespace
}  // namespace scenario
