#include "compiler/script_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "compiler/compile_fixture.h"
#include "scripts/builtin_scripts.h"

namespace scenario {
namespace {

/// `posizione_errore` before the reader runs, so that a test can tell a
/// position that was set from one that was left alone.
constexpr std::int32_t kNonImpostata = -777;

/// What one run of the reader leaves: the state and the scripts on disk.
struct Lettura {
  StatoCompilazione stato;
  bool linea_rimasta = false;
  bool treno_rimasto = false;
};

std::string NomeLinea() {
  return nome_script_linea(kPercorsoProva);
}

std::string NomeTreno() {
  return nome_script_treno(kPercorsoProva, kTrenoProva);
}

/// Runs the reader on `linea` and `treno` (a missing script when absent)
/// with `crea_linea` = `j`.
Lettura Leggi(const std::optional<std::string>& linea, const std::optional<std::string>& treno,
              std::int32_t j = 1) {
  CartellaTemporanea cartella;
  if (linea) cartella.scrivi(NomeLinea(), *linea);
  if (treno) cartella.scrivi(NomeTreno(), *treno);
  Lettura l;
  l.stato.nome_percorso = kPercorsoProva;
  l.stato.numero_treno = kTrenoProva;
  l.stato.crea_linea = j;
  l.stato.posizione_errore = kNonImpostata;
  RealFileSystem fs;
  memorizza_dati(l.stato, fs, cartella.percorso());
  l.linea_rimasta = cartella.esiste(NomeLinea());
  l.treno_rimasto = cartella.esiste(NomeTreno());
  return l;
}

/// The reader on a 103000 m line with `corpo` as its body.
StatoCompilazione Corpo(const std::string& corpo, std::int32_t j = 1) {
  return Leggi(script_linea(103000, corpo), script_treno(), j).stato;
}

/// The built-in script `righe_script` as a file: every line ends in CR LF.
template <std::size_t N>
std::string Unisci(const std::array<std::string_view, N>& righe_script) {
  std::string s;
  for (std::string_view r : righe_script) {
    s += r;
    s += "\r\n";
  }
  return s;
}

/// `n` indicator boards 100 m apart from 1000 m.
std::string Cartelli(int n) {
  std::string s;
  for (int k = 0; k < n; ++k) {
    s += "cartello_indicatore,  " + std::to_string(1000 + 100 * k) + ",   (c" + std::to_string(k) +
         ")\r\n";
  }
  return s;
}

// ---------------------------------------------------------------------------
// General section

TEST(LineStage, RouteLengthDimensionsTheArrays) {
  struct Caso {
    std::int32_t lunghezza;
    std::int32_t numero_celle;
  };
  // (length + 7000) / 50 with halves to the even count: 7025 / 50 = 140.5
  // gives 140, 7075 / 50 = 141.5 gives 142.
  const std::vector<Caso> casi = {
      {103000, 2200}, {0, 140}, {25, 140}, {75, 142}, {1000000, 20140},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.lunghezza);
    const StatoCompilazione stato = Leggi(script_linea(caso.lunghezza), script_treno()).stato;
    EXPECT_EQ(stato.codice_errore, 0);
    EXPECT_EQ(stato.parametri[voce::treno].fine, caso.lunghezza);
    EXPECT_EQ(stato.lunghezza_tabella, caso.lunghezza + 7000);
    EXPECT_EQ(stato.numero_celle, caso.numero_celle);
    EXPECT_EQ(stato.celle.size(), static_cast<std::size_t>(caso.numero_celle) + 1);
    const TabellaLinea& t = stato.tabella_linea;
    ASSERT_EQ(t.ultima_riga(), caso.lunghezza + 7000);
    // The straight line is completed up to two rows before the end.
    const std::int32_t ultima = t.ultima_riga() - 2;
    EXPECT_EQ(t.tipo(ultima, 1), TipoVariante::doppio);
    EXPECT_EQ(t.valore(ultima, 1), ultima);
    EXPECT_EQ(t.valore(ultima, 0), 0.0);
    for (int c = 0; c < 2; ++c) {
      EXPECT_EQ(t.tipo(ultima + 1, c), TipoVariante::vuoto);
      EXPECT_EQ(t.tipo(ultima + 2, c), TipoVariante::vuoto);
    }
  }

  // Without the line geometry the table is never dimensioned.
  const StatoCompilazione senza = Leggi(script_linea(103000), script_treno(), 0).stato;
  EXPECT_EQ(senza.numero_celle, 2200);
  EXPECT_FALSE(senza.tabella_linea.dimensionata());
}

TEST(LineStage, RouteLengthRequiredOnAReusedState) {
  // A cell array left by an earlier compile does not stand in for the
  // route length of the script being read.
  StatoCompilazione stato;
  stato.nome_percorso = kPercorsoProva;
  stato.numero_treno = kTrenoProva;
  stato.crea_linea = 1;
  RealFileSystem fs;
  for (const std::string& linea :
       {script_linea(103000), std::string("[generale]\r\nsfondo uno,  1\r\n[curve]\r\n")}) {
    CartellaTemporanea cartella;
    cartella.scrivi(NomeLinea(), linea);
    cartella.scrivi(NomeTreno(), script_treno());
    stato.codice_errore = 0;
    memorizza_dati(stato, fs, cartella.percorso());
  }
  EXPECT_EQ(stato.codice_errore, 25);
}

TEST(LineStage, MissingRouteLengthFailsAfterTheChainageOrdering) {
  // The general section is complete and ordered before the missing cell
  // array stops the stage.
  for (std::int32_t j : {0, 1}) {
    SCOPED_TRACE(j);
    const StatoCompilazione stato =
        Leggi("[generale]\r\nprogressiva chilometrica uno,  0,  90000,  1\r\n[curve]\r\n",
              script_treno(), j)
            .stato;
    EXPECT_EQ(stato.codice_errore, 25);
    const Parametro& e81 = stato.parametri[voce::progressiva_tre];
    EXPECT_EQ(e81.fine, 90100);
    EXPECT_EQ(e81.posizione, 1);
    EXPECT_EQ(stato.parametri[voce::progressiva_uno].fine, 0);
  }
}

TEST(LineStage, GeneralRecords) {
  struct Caso {
    const char* nome;
    std::string riga;  ///< a line added after "lunghezza percorso, 103000"
    int voce;
    std::int32_t Parametro::*campo;
    std::int32_t atteso;
  };
  const std::vector<Caso> casi = {
      {"length in any case, repeated", "LUNGHEZZA Percorso,    5000", voce::treno, &Parametro::fine,
       5000},
      {"chainage uno", "progressiva chilometrica uno,    2000,    90000,    0",
       voce::progressiva_tre, &Parametro::inizio, 2000},
      {"chainage with a capital letter", "Progressiva chilometrica uno,    2000,    90000,    0",
       voce::progressiva_tre, &Parametro::inizio, 0},
      {"chainage number in capitals", "progressiva chilometrica UNO,    2000,    90000,    0",
       voce::progressiva_tre, &Parametro::inizio, 0},
      {"scenery uno", "sfondo uno,    7", voce::percorso, &Parametro::inizio, 7},
      {"scenery due", "sfondo due,    7", voce::percorso, &Parametro::posizione, 7},
      {"scenery tre", "sfondo tre,    7", voce::percorso, &Parametro::fine, 7},
      {"scenery with a capital letter", "Sfondo uno,    7", voce::percorso, &Parametro::inizio, 0},
      {"scenery number in capitals", "sfondo UNO,    7", voce::percorso, &Parametro::inizio, 0},
      {"cab signalling, 9 codes", "ripetizione segnali 9 codici,    0    ,5000", voce::ripetizione,
       &Parametro::posizione, 9},
      {"cab signalling, end 0", "ripetizione segnali 4 codici,    0    ,0", voce::ripetizione,
       &Parametro::posizione, 0},
      {"cab signalling, 4 tested first", "ripetizione segnali 94 codici,    0    ,5000",
       voce::ripetizione, &Parametro::posizione, 4},
      {"cab signalling, negative multiple of 50", "ripetizione segnali 4 codici,  -50,  5000",
       voce::ripetizione, &Parametro::inizio, -50},
      {"cab signalling with a capital letter", "Ripetizione segnali 9 codici,    0    ,5000",
       voce::ripetizione, &Parametro::posizione, 0},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    const std::string testo =
        "[generale]\r\nlunghezza percorso,    103000\r\n" + caso.riga + "\r\n[curve]\r\n[fine]\r\n";
    const StatoCompilazione stato = Leggi(testo, script_treno()).stato;
    EXPECT_EQ(stato.codice_errore, 0);
    EXPECT_EQ(stato.parametri[caso.voce].*caso.campo, caso.atteso);
  }
}

TEST(LineStage, BuiltInGeneralSection) {
  std::string testo;
  for (std::size_t r = 0; r < 10; ++r) testo += std::string(kScriptLinea[r]) + "\r\n";
  testo += "[fine]\r\n";
  const StatoCompilazione stato = Leggi(testo, script_treno()).stato;
  EXPECT_EQ(stato.codice_errore, 0);
  const auto& p = stato.parametri;
  EXPECT_EQ(p[voce::treno].fine, 103000);
  EXPECT_EQ(p[voce::percorso].inizio, 1);
  EXPECT_EQ(p[voce::percorso].posizione, 0);
  EXPECT_EQ(p[voce::percorso].fine, 0);
  EXPECT_EQ(p[voce::percorso].nome, kPercorsoProva);
  EXPECT_EQ(p[voce::ripetizione].nome, kTrenoProva);
  EXPECT_EQ(p[voce::ripetizione].inizio, 0);
  EXPECT_EQ(p[voce::ripetizione].fine, 0);
  EXPECT_EQ(p[voce::ripetizione].posizione, 0);
  EXPECT_EQ(p[voce::progressiva_tre].inizio, 1500);
  EXPECT_EQ(p[voce::progressiva_due].fine, 90100);
}

TEST(LineStage, GeneralSectionComments) {
  std::string dieci;
  for (int k = 1; k <= 10; ++k) dieci += "- commento " + std::to_string(k) + "\r\n";
  struct Caso {
    const char* nome;
    std::string generale;
    std::int32_t numero_celle;
    std::int32_t sfondo;
  };
  const std::vector<Caso> casi = {
      // Ten comment fields after the keyword field are skipped; the
      // eleventh is a keyword field whatever it holds.
      {"eleventh comment is a keyword field", dieci + "- lunghezza percorso\r\n50000\r\n", 1140, 0},
      {"twelfth comment is skipped", dieci + "- altro\r\n- lunghezza percorso\r\n50000\r\n", 2200,
       0},
      {"a header ends the general section", "[curve]\r\nsfondo uno,    7\r\n", 2200, 0},
      {"so does any field with both brackets", "nota [x]\r\nsfondo uno,    7\r\n", 2200, 0},
      // The eleventh comment field reaches the header test, which it fails.
      {"a comment with brackets does not", dieci + "-[nota]\r\nsfondo uno,    7\r\n", 2200, 7},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    const std::string testo =
        "[generale]\r\nlunghezza percorso,    103000\r\n" + caso.generale + "[curve]\r\n[fine]\r\n";
    const StatoCompilazione stato = Leggi(testo, script_treno()).stato;
    EXPECT_EQ(stato.codice_errore, 0);
    EXPECT_EQ(stato.numero_celle, caso.numero_celle);
    EXPECT_EQ(stato.parametri[voce::percorso].inizio, caso.sfondo);
  }
}

TEST(LineStage, PreambleIsIgnored) {
  const StatoCompilazione stato =
      Leggi(
          "titolo\r\nsfondo uno, 9\r\nlunghezza percorso, 5000\r\n[GENERALE]\r\n"
          "lunghezza percorso, 103000\r\n[curve]\r\n[fine]\r\n",
          script_treno())
          .stato;
  EXPECT_EQ(stato.codice_errore, 0);
  EXPECT_EQ(stato.numero_celle, 2200);
  EXPECT_EQ(stato.parametri[voce::percorso].inizio, 0);
}

// ---------------------------------------------------------------------------
// Body: comments and the end of the file

TEST(LineStage, BodyComments) {
  struct Caso {
    const char* nome;
    std::string corpo;
    std::uint8_t pendenza;  ///< of cell 10 once the stage is over
  };
  const std::vector<Caso> casi = {
      {"two comments skip the second", "- uno\r\n- pendenza\r\n500,  3\r\n", 100},
      {"the third comment is a keyword field", "- uno\r\n- due\r\n- pendenza\r\n500,  3\r\n", 103},
      {"three comments, then a record", "- uno\r\n- due\r\n- tre\r\npendenza,  500,  3\r\n", 103},
      {"negative values are not comments", "pendenza,  500,  -3\r\n", 97},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    const StatoCompilazione stato = Corpo(caso.corpo);
    EXPECT_EQ(stato.codice_errore, 0);
    EXPECT_EQ(stato.celle[9].pendenza, 100);
    EXPECT_EQ(stato.celle[10].pendenza, caso.pendenza);
  }
}

TEST(LineStage, EndOfFile) {
  const std::string generale = "[generale]\r\nlunghezza percorso,    103000\r\n[curve]\r\n";
  struct Caso {
    const char* nome;
    std::string testo;
    std::uint8_t pendenza;  ///< of cell 10
  };
  const std::vector<Caso> casi = {
      {"[fine] ends the file", generale + "pendenza,  500,  3\r\n[fine]\r\n", 103},
      // A keyword field that reaches the end of the file is not interpreted:
      // reading its values would be a read failure.
      {"keyword on the last line", generale + "pendenza,  500,  3\r\npendenza\r\n", 103},
      {"keyword without a line end", generale + "pendenza,  500,  3\r\npendenza", 103},
      {"record on the last line", generale + "pendenza,  500,  3\r\n", 103},
      {"last record without a line end", generale + "pendenza,  500,  3", 103},
      {"general section up to the end", "[generale]\r\nlunghezza percorso,    103000\r\n", 100},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    const Lettura l = Leggi(caso.testo, script_treno());
    EXPECT_EQ(l.stato.codice_errore, 0);
    EXPECT_EQ(l.stato.celle[10].pendenza, caso.pendenza);
    EXPECT_FALSE(l.linea_rimasta);
    EXPECT_FALSE(l.treno_rimasto);
  }
}

// ---------------------------------------------------------------------------
// Gradients

TEST(LineStage, GradientFill) {
  const StatoCompilazione stato = Corpo("pendenza,  0,   0\r\npendenza,  1500,   -5\r\n");
  for (int c = 0; c <= 29; ++c) EXPECT_EQ(stato.celle[c].pendenza, 100) << c;
  for (int c = 30; c <= 2197; ++c) EXPECT_EQ(stato.celle[c].pendenza, 95) << c;
  for (int c = 2198; c <= 2200; ++c) EXPECT_EQ(stato.celle[c].pendenza, 0) << c;
}

TEST(LineStage, GradientValues) {
  struct Caso {
    std::string corpo;
    std::uint8_t atteso;  ///< every cell from 0 to 2197
  };
  // The cell holds the low 8 bits of gradient + 100.
  const std::vector<Caso> casi = {
      {"", 100},
      {"pendenza,  0,   -7\r\n", 93},
      {"pendenza,  0,   155\r\n", 255},
      {"pendenza,  0,   -100\r\n", 0},
      {"pendenza,  0,   156\r\n", 0},
      {"pendenza,  0,   -101\r\n", 255},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.corpo);
    const StatoCompilazione stato = Corpo(caso.corpo);
    EXPECT_EQ(stato.codice_errore, 0);
    EXPECT_EQ(stato.celle[0].pendenza, caso.atteso);
    EXPECT_EQ(stato.celle[2197].pendenza, caso.atteso);
    EXPECT_EQ(stato.celle[2198].pendenza, 0);
  }
}

TEST(LineStage, GradientWritesAtLeastOnce) {
  // A record behind the one before still writes one cell.
  const StatoCompilazione indietro = Corpo("pendenza,  500,   2\r\npendenza,  100,   4\r\n");
  EXPECT_EQ(indietro.celle[9].pendenza, 100);
  EXPECT_EQ(indietro.celle[10].pendenza, 102);
  EXPECT_EQ(indietro.celle[11].pendenza, 104);

  // Records at the last accepted position write past the fill's limit;
  // beyond the last cell the writes are skipped.
  std::string corpo = "pendenza,  0,   1\r\n";
  for (int g = 2; g <= 7; ++g) corpo += "pendenza,  109900,   " + std::to_string(g) + "\r\n";
  const StatoCompilazione fine = Corpo(corpo);
  EXPECT_EQ(fine.codice_errore, 0);
  EXPECT_EQ(fine.celle.size(), 2201u);
  EXPECT_EQ(fine.celle[2197].pendenza, 101);
  EXPECT_EQ(fine.celle[2198].pendenza, 102);
  EXPECT_EQ(fine.celle[2199].pendenza, 103);
  EXPECT_EQ(fine.celle[2200].pendenza, 104);
}

// ---------------------------------------------------------------------------
// Position test

TEST(LineStage, PositionTest) {
  struct Caso {
    const char* nome;
    std::string record;
    std::int32_t posizione;  ///< of the code 15, or `kNonImpostata` when accepted
  };
  const std::vector<Caso> casi = {
      {"gradient at the last position", "pendenza,  109900,  1", kNonImpostata},
      {"gradient beyond", "pendenza,  109950,  1", 109950},
      {"gradient before the start", "pendenza,  -50,  1", -50},
      {"gradient just before the start", "pendenza,  -1,  1", -1},
      {"mountain inside", "montagna,  100000,  109900,  11", kNonImpostata},
      {"mountain ending beyond", "montagna,  100000,  109950,  11", 100000},
      {"mountain starting beyond", "montagna,  109950,  100,  1", 109950},
      {"mountain starting before the start", "montagna,  -100,  500,  1", -100},
      {"mountain ending before the start", "montagna,  100,  -500,  1", 100},
      {"boards at the last position", "indicatori_vmax,  109900,  100,  100,  100,  0,  ,  ,  ,  0",
       kNonImpostata},
      {"boards beyond", "indicatori_vmax,  109950,  100,  100,  100,  0,  ,  ,  ,  0", 109950},
      {"boards before the start", "indicatori_vmax,  -50,  100,  100,  100,  0,  ,  ,  ,  0", -50},
      {"indicator board at the last position", "cartello_indicatore,  109900,   (x)",
       kNonImpostata},
      {"indicator board beyond", "cartello_indicatore,  109950,   (x)", 109950},
      {"indicator board before the start", "cartello_indicatore,  -50,   (x)", -50},
      {"curve up to the last computed row", "curvad4,  109900,  98", kNonImpostata},
      {"curve running past it", "curvad4,  109900,  99", 109900},
      {"curve starting beyond", "curvad4,  109950,  10", 109950},
      {"curve before the start", "curvad4,  -10,  5", -10},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    const bool fuori = caso.posizione != kNonImpostata;
    // A gradient before, a board after the record; the train script sets an
    // adhesion, so that its stage shows it ran.
    const Lettura l = Leggi(script_linea(103000, righe({"pendenza,  0,  4", caso.record,
                                                        "cartello_indicatore,  7150,   (dopo)"})),
                            script_treno(righe({"aderenza,  0,  77"})));
    const StatoCompilazione& s = l.stato;
    EXPECT_EQ(s.codice_errore, fuori ? 15 : 0);
    EXPECT_EQ(s.posizione_errore, caso.posizione);
    // Reading stopped at the record.
    EXPECT_EQ(s.celle[144].tipo, fuori ? 0 : 14);
    // The stage still ended normally: gradients filled, geometry completed,
    // and the train stage ran.
    EXPECT_EQ(s.celle[100].pendenza, 104);
    EXPECT_EQ(s.tabella_linea.tipo(109998, 1), TipoVariante::doppio);
    EXPECT_EQ(s.celle[100].aderenza, 77);
    EXPECT_FALSE(l.linea_rimasta);
    EXPECT_FALSE(l.treno_rimasto);
  }
}

// ---------------------------------------------------------------------------
// Curves and the line geometry

/// The geometry a list of curves gives, row by row, with every row between
/// the curves straight; `svolte[m]` is the turn applied to row m.
std::vector<std::pair<double, double>> Geometria(std::int32_t ultima,
                                                 const std::vector<double>& svolte) {
  std::vector<std::pair<double, double>> p(static_cast<std::size_t>(ultima) + 1);
  p[0] = {0, 0};
  p[1] = {0, 1};
  for (std::int32_t m = 2; m <= ultima; ++m) {
    const double dx = p[m - 1].first - p[m - 2].first;
    const double dy = p[m - 1].second - p[m - 2].second;
    const double c = svolte[m];
    if (c == 0) {
      p[m] = {p[m - 1].first + dx, p[m - 1].second + dy};
    } else {
      p[m] = {p[m - 1].first + (dx + c * dy), p[m - 1].second + (dy - c * dx)};
    }
  }
  return p;
}

TEST(LineStage, FirstCurveTurnsRight) {
  const StatoCompilazione stato = Corpo("curvad4,  500,  950\r\n");
  ASSERT_EQ(stato.codice_errore, 0);
  const TabellaLinea& t = stato.tabella_linea;
  // Rows 0 and 1 are whole numbers: the origin, heading along +y.
  for (int c = 0; c < 2; ++c) {
    EXPECT_EQ(t.tipo(0, c), TipoVariante::intero);
    EXPECT_EQ(t.tipo(1, c), TipoVariante::intero);
  }
  EXPECT_EQ(t.valore(0, 0), 0);
  EXPECT_EQ(t.valore(0, 1), 0);
  EXPECT_EQ(t.valore(1, 0), 0);
  EXPECT_EQ(t.valore(1, 1), 1);
  for (std::int32_t m = 2; m <= 500; ++m) {
    ASSERT_EQ(t.tipo(m, 0), TipoVariante::doppio) << m;
    ASSERT_EQ(t.valore(m, 0), 0.0) << m;
    ASSERT_EQ(t.valore(m, 1), m) << m;
  }
  EXPECT_EQ(t.valore(501, 0), 0.001);
  EXPECT_EQ(t.valore(501, 1), 501.0);
  for (std::int32_t m = 501; m <= 1450; ++m) ASSERT_GT(t.valore(m, 0), t.valore(m - 1, 0)) << m;

  // Every row, bit for bit, as the turning and straight steps give it.
  std::vector<double> svolte(110000, 0.0);
  for (std::int32_t m = 501; m <= 1450; ++m) svolte[m] = 0.001;
  const auto attesa = Geometria(109998, svolte);
  for (std::int32_t m = 2; m <= 109998; ++m) {
    ASSERT_EQ(t.valore(m, 0), attesa[m].first) << m;
    ASSERT_EQ(t.valore(m, 1), attesa[m].second) << m;
  }
}

TEST(LineStage, CurveKeywords) {
  struct Caso {
    const char* parola;
    double svolta;  ///< x of row 501, the first turned row of a curve at 500
  };
  const std::vector<Caso> casi = {
      {"curvad1", 0.0001},   {"curvad2", 0.0002}, {"curvad3", 0.0004},  {"curvad4", 0.001},
      {"curvad5", 0.002},    {"curvad6", 0.003},  {"curvas4", -0.001},  {"curvaS4", -0.001},
      {"CURVAD4", 0.001},    {"curvad64", 0.001}, {"curvad21", 0.0001}, {"curvadestra4", -0.001},
      {"curvad9 3", 0.0004},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.parola);
    const StatoCompilazione stato = Corpo(std::string(caso.parola) + ",  500,  10\r\n");
    ASSERT_EQ(stato.codice_errore, 0);
    EXPECT_EQ(stato.tabella_linea.valore(500, 0), 0.0);
    EXPECT_EQ(stato.tabella_linea.valore(501, 0), caso.svolta);
  }
}

TEST(LineStage, CurveStartingBehindTheLastRow) {
  // The second curve starts inside the first: only its rows still ahead
  // are turned, so the two give the same line as one longer curve.
  const StatoCompilazione due = Corpo("curvas4,  500,  100\r\ncurvas4,  550,  100\r\n");
  const StatoCompilazione una = Corpo("curvas4,  500,  150\r\n");
  ASSERT_EQ(due.codice_errore, 0);
  ASSERT_EQ(una.codice_errore, 0);
  EXPECT_LT(una.tabella_linea.valore(650, 0), una.tabella_linea.valore(649, 0));
  for (std::int32_t m = 0; m <= 109998; ++m) {
    ASSERT_EQ(due.tabella_linea.valore(m, 0), una.tabella_linea.valore(m, 0)) << m;
    ASSERT_EQ(due.tabella_linea.valore(m, 1), una.tabella_linea.valore(m, 1)) << m;
  }
}

TEST(LineStage, CurvesWithoutTheGeometry) {
  // Without the geometry a curve record is not recognised: its numbers are
  // read as keyword fields, and the next record is read as usual.
  const StatoCompilazione stato =
      Corpo("curva,  500,  10\r\ncurvad4,  600,  950\r\npendenza,  500,  3\r\n", 0);
  EXPECT_EQ(stato.codice_errore, 0);
  EXPECT_FALSE(stato.tabella_linea.dimensionata());
  EXPECT_EQ(stato.celle[10].pendenza, 103);
}

TEST(LineStage, RowLimit) {
  // The row counter may not pass 1000000 while curves are read.
  struct Caso {
    std::int32_t lunghezza_curva;
    std::int32_t codice;
  };
  for (const Caso& caso : std::vector<Caso>{{999, 0}, {1000, 103}}) {
    SCOPED_TRACE(caso.lunghezza_curva);
    const Lettura l =
        Leggi(script_linea(1000000,
                           "curvad4,  999000,  " + std::to_string(caso.lunghezza_curva) + "\r\n"),
              script_treno());
    EXPECT_EQ(l.stato.codice_errore, caso.codice);
    EXPECT_EQ(l.stato.posizione_errore, kNonImpostata);
    EXPECT_FALSE(l.linea_rimasta);
    EXPECT_EQ(l.treno_rimasto, caso.codice != 0);
  }
}

// ---------------------------------------------------------------------------
// Mountain sections, maximum-speed boards, indicator boards

TEST(LineStage, BuiltInMountainRecord) {
  const StatoCompilazione stato = Corpo("montagna,   8700,  11050,  11\r\n");
  EXPECT_EQ(stato.codice_errore, 0);
  EXPECT_EQ(stato.conta_montagne, 1);
  EXPECT_EQ(stato.montagna_inizio[1], 8700);
  EXPECT_EQ(stato.montagna_fine[1], 11050);
  int marcatori = 0;
  for (int c = 0; c <= 2200; ++c) {
    const bool dentro = c >= 174 && c <= 220;
    EXPECT_EQ(stato.celle[c].montagna, dentro ? 1 : 0) << c;
    if (stato.celle[c].tipo == 11) {
      ++marcatori;
      EXPECT_TRUE(dentro && (c - 174) % 4 == 3) << c;
    }
  }
  EXPECT_EQ(marcatori, 11);
}

TEST(LineStage, MountainSectionLimit) {
  std::string ottanta;
  for (int k = 0; k < 80; ++k) {
    ottanta += "montagna,  " + std::to_string(1000 * k) + ",  " + std::to_string(1000 * k + 500) +
               ",  1\r\n";
  }
  const Lettura piena = Leggi(script_linea(103000, ottanta), script_treno());
  EXPECT_EQ(piena.stato.codice_errore, 0);
  EXPECT_EQ(piena.stato.conta_montagne, 80);
  EXPECT_EQ(piena.stato.montagna_inizio[80], 79000);

  const Lettura troppe =
      Leggi(script_linea(103000, ottanta + "montagna,  90000,  90500,  1\r\n"), script_treno());
  EXPECT_EQ(troppe.stato.codice_errore, 25);
  EXPECT_EQ(troppe.stato.conta_montagne, 80);
  EXPECT_FALSE(troppe.linea_rimasta);
  EXPECT_FALSE(troppe.treno_rimasto);
}

TEST(LineStage, BuiltInMaximumSpeedBoard) {
  const StatoCompilazione stato =
      Corpo("indicatori_vmax,  1550,  125,  135,  135,  0,  ,  ,  ,  0\r\n");
  EXPECT_EQ(stato.codice_errore, 0);
  const Cella& c = stato.celle[32];
  EXPECT_EQ(c.tipo, 6);
  EXPECT_EQ(c.dato1, 2500);
  EXPECT_EQ(c.dato2, 2700);
  EXPECT_EQ(c.dato3, 2700);
  EXPECT_EQ(c.dato4, 0);

  // A speed word that does not fit ends the reading as a read failure; the
  // cell keeps what was written before it.
  const StatoCompilazione troppo =
      Corpo("indicatori_vmax,  1550,  125,  2000,  135,  0,  ,  ,  ,  0\r\n");
  EXPECT_EQ(troppo.codice_errore, 25);
  EXPECT_EQ(troppo.celle[32].tipo, 6);
  EXPECT_EQ(troppo.celle[32].dato1, 2500);
  EXPECT_EQ(troppo.celle[32].dato2, 0);
}

TEST(LineStage, IndicatorBoards) {
  const StatoCompilazione stato =
      Corpo(righe({"cartello_indicatore,  7150,   (PL km)(5+640)",
                   "cartello_indicatore,  17400,   (ponte fiume)(P O   500 m)"}));
  EXPECT_EQ(stato.codice_errore, 0);
  EXPECT_EQ(stato.celle[144].tipo, 14);
  EXPECT_EQ(stato.celle[144].dato1, 80);
  EXPECT_EQ(stato.parametri[80].nome, "(PL km)(5+640)");
  EXPECT_EQ(stato.celle[349].tipo, 14);
  EXPECT_EQ(stato.celle[349].dato1, 79);
  EXPECT_EQ(stato.parametri[79].nome, "(ponte fiume)(P O   500 m)");
  EXPECT_EQ(stato.parametri[78].nome, "");

  // A board on a mountain marker (cell 177 of the built-in section)
  // replaces it.
  const StatoCompilazione marcata =
      Corpo(righe({"montagna,   8700,  11050,  11", "cartello_indicatore,  8800,   (x)"}));
  EXPECT_EQ(marcata.codice_errore, 0);
  EXPECT_EQ(marcata.celle[177].tipo, 14);
  EXPECT_EQ(marcata.celle[177].montagna, 1);

  // Eighty boards fill entries 80 down to 1.
  const StatoCompilazione ottanta = Corpo(Cartelli(80));
  EXPECT_EQ(ottanta.codice_errore, 0);
  EXPECT_EQ(ottanta.parametri[1].nome, "(c79)");
  EXPECT_EQ(ottanta.celle[1000 / 50 + 1 + 79 * 2].dato1, 1);
}

// ---------------------------------------------------------------------------
// Codes and the scripts left on disk

TEST(LineStage, ErrorCodes) {
  struct Caso {
    const char* nome;
    std::optional<std::string> linea;
    std::string treno;
    std::int32_t codice;
    std::int32_t posizione;  ///< `kNonImpostata` when not set
    bool linea_rimasta;
    bool treno_rimasto;
  };
  const std::string generale = "[generale]\r\nlunghezza percorso,    103000\r\n";
  const std::string senza = script_treno();
  const std::string rallentamento =
      script_treno("rallentamento,   93800,    40,  200, 0,  1,  0\r\n");
  const std::vector<Caso> casi = {
      {"no line script", std::nullopt, senza, 101, kNonImpostata, false, true},
      {"empty line script", "", senza, 102, kNonImpostata, false, true},
      {"no [generale]", "lunghezza percorso, 103000\r\n[curve]\r\n", senza, 102, kNonImpostata,
       false, true},
      {"[generale] on the last line", "titolo\r\n[generale]\r\n", senza, 102, kNonImpostata, false,
       true},
      {"length at the limit", script_linea(1000000), senza, 0, kNonImpostata, false, false},
      {"length above the limit", script_linea(1000001), senza, 1, kNonImpostata, false, true},
      {"negative length", script_linea(-1), senza, 1, kNonImpostata, false, true},
      {"cab-signalling start", generale + "ripetizione segnali 4 codici,  25,  5000\r\n", senza, 3,
       kNonImpostata, false, true},
      {"cab-signalling end", generale + "ripetizione segnali 4 codici,  0,  5025\r\n", senza, 4,
       kNonImpostata, false, true},
      {"cab-signalling codes", generale + "ripetizione segnali codici,  0,  5000\r\n", senza, 5,
       kNonImpostata, false, true},
      {"curve without class", script_linea(103000, "curva,  500,  10\r\n"), senza, 103,
       kNonImpostata, false, true},
      {"position beyond the cells", script_linea(103000, "pendenza,  109950,  1\r\n"), senza, 15,
       109950, false, false},
      {"indicator board on boards",
       script_linea(103000, righe({"indicatori_vmax,  7150,  100,  100,  100,  0,  ,  ,  ,  0",
                                   "cartello_indicatore,  7150,   (x)"})),
       senza, 6, 7150, false, true},
      {"81st indicator board", script_linea(103000, Cartelli(81)), senza, 10, kNonImpostata, false,
       true},
      {"81st indicator board on an occupied cell",
       script_linea(103000, Cartelli(80) +
                                "indicatori_vmax,  20000,  100,  100,  100,  0,  ,  ,  ,  0\r\n"
                                "cartello_indicatore,  20000,   (x)\r\n"),
       senza, 10, kNonImpostata, false, true},
      {"81st indicator board beyond the cells",
       script_linea(103000, Cartelli(80) + "cartello_indicatore,  109950,   (x)\r\n"), senza, 15,
       109950, false, false},
      {"boards on an indicator board",
       script_linea(103000, righe({"cartello_indicatore,  1550,   (x)",
                                   "indicatori_vmax,  1550,  125,  135,  135,  0,  ,  ,  ,  0"})),
       senza, 21, 1550, false, true},
      {"signal on an indicator board (train stage)",
       script_linea(103000, "cartello_indicatore,  7150,   (x)\r\n"),
       script_treno("segnale,   7150,   1, 5, 1,  0, 0,    0,  0,0,0, 0\r\n"), 16, 7150, false,
       false},
      // The slowdown at 93800 claims cells 1853 (board), 1877 (start), 1881
      // (end) and 1849 to 1852; an indicator board takes one of them.
      {"slowdown board on an indicator board (train stage)",
       script_linea(103000, "cartello_indicatore,  92600,   (x)\r\n"), rallentamento, 17, 93800,
       false, false},
      {"slowdown start on an indicator board (train stage)",
       script_linea(103000, "cartello_indicatore,  93800,   (x)\r\n"), rallentamento, 18, 93800,
       false, false},
      {"slowdown end on an indicator board (train stage)",
       script_linea(103000, "cartello_indicatore,  94000,   (x)\r\n"), rallentamento, 19, 93800,
       false, false},
      {"cells before the slowdown board (train stage)",
       script_linea(103000, "cartello_indicatore,  92450,   (x)\r\n"), rallentamento, 20, 93800,
       false, false},
      {"text where a number is due", script_linea(103000, "pendenza,  abc,  1\r\n"), senza, 25,
       kNonImpostata, false, false},
      {"no route length", "[generale]\r\nsfondo uno,  1\r\n[curve]\r\npendenza,  0,  1\r\n", senza,
       25, kNonImpostata, false, false},
      {"speed word out of range",
       script_linea(103000, "indicatori_vmax,  1550,  2000,  0,  0,  0,  ,  ,  ,  0\r\n"), senza,
       25, kNonImpostata, false, false},
      {"comment fields up to the end", generale + "- a\r\n- b\r\n- c", senza, 25, kNonImpostata,
       false, false},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    const Lettura l = Leggi(caso.linea, caso.treno);
    EXPECT_EQ(l.stato.codice_errore, caso.codice);
    EXPECT_EQ(l.stato.posizione_errore, caso.posizione);
    EXPECT_EQ(l.linea_rimasta, caso.linea_rimasta);
    EXPECT_EQ(l.treno_rimasto, caso.treno_rimasto);
    EXPECT_EQ(l.stato.parametri[voce::percorso].nome, kPercorsoProva);
  }
}

TEST(LineStage, LineScriptThatIsNotAFile) {
  // A folder under the script's name is no line script: code 101, and the
  // folder and the train script are left alone.
  CartellaTemporanea cartella;
  std::filesystem::create_directory(cartella.file(NomeLinea()));
  cartella.scrivi(NomeTreno(), script_treno());
  const StatoCompilazione stato = leggi_in(cartella);
  EXPECT_EQ(stato.codice_errore, 101);
  EXPECT_TRUE(std::filesystem::is_directory(cartella.file(NomeLinea())));
  EXPECT_TRUE(cartella.esiste(NomeTreno()));
}

// ---------------------------------------------------------------------------
// The built-in scenario

TEST(LineStage, BuiltInScripts) {
  const std::string linea = Unisci(kScriptLinea);
  const std::string treno = Unisci(kScriptTreno);

  const Lettura l = Leggi(linea, treno);
  const StatoCompilazione& s = l.stato;
  EXPECT_EQ(s.codice_errore, 0);
  EXPECT_FALSE(l.linea_rimasta);
  EXPECT_FALSE(l.treno_rimasto);
  EXPECT_EQ(s.numero_celle, 2200);
  // The first curve, "curvas4" at 500, turns toward -x.
  EXPECT_EQ(s.tabella_linea.valore(500, 0), 0.0);
  EXPECT_EQ(s.tabella_linea.valore(501, 0), -0.001);
  EXPECT_EQ(s.tabella_linea.tipo(109999, 0), TipoVariante::vuoto);
  // The seventh indicator board, at 7150.
  EXPECT_EQ(s.celle[144].tipo, 14);
  EXPECT_EQ(s.celle[144].dato1, 74);
  EXPECT_EQ(s.parametri[74].nome, "(PL km)(5+640)");
  EXPECT_EQ(s.parametri[25].nome, "(PLA km)(88+016)");
  EXPECT_EQ(s.celle[32].tipo, 6);
  EXPECT_EQ(s.celle[32].dato1, 2500);
  // Gradients 0 from 0, -5 from 1500, 0 from 2100.
  EXPECT_EQ(s.celle[29].pendenza, 100);
  EXPECT_EQ(s.celle[30].pendenza, 95);
  EXPECT_EQ(s.celle[42].pendenza, 100);
  EXPECT_EQ(s.celle[2197].pendenza, 100);
  EXPECT_EQ(s.conta_montagne, 1);
  EXPECT_EQ(s.celle[177].tipo, 11);

  Esito esito = Esito::senza_celle;
  const StatoCompilazione compilato = compila(linea, treno, 1, &esito);
  EXPECT_EQ(compilato.codice_errore, 0);
  EXPECT_EQ(esito, Esito::scritto);
}

}  // namespace
}  // namespace scenario
