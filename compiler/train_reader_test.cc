#include "compiler/train_reader.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/file_names.h"
#include "compiler/compile_fixture.h"
#include "compiler/compile_state.h"
#include "compiler/error_codes.h"
#include "compiler/script_reader.h"

namespace scenario {
namespace {

/// The built-in first station.
const char kNovara[] =
    "stazione,   66600,  4,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,  14,25, 0, NOVARA";

/// A station line; `attributi` are `opzione`, `flag4` and `flag3`.
std::string stazione(std::int32_t posizione, int tipo, std::int32_t lunghezza,
                     const std::string& attributi = "0, 0, 0", const std::string& ore = "14") {
  return "stazione, " + std::to_string(posizione) + ", " + std::to_string(tipo) + ", " +
         std::to_string(lunghezza) + ", " + attributi + ",  0,0,0,  0,0,0,  0,  " + ore +
         ",0, 0, S" + std::to_string(posizione);
}

/// A signal line with the built-in values of the signal at 67400 m.
std::string segnale(std::int32_t posizione) {
  return "segnale, " + std::to_string(posizione) + ",   1, 5, 1,  0, 0,    0,  0,0,0, 0";
}

/// `n` indicator boards, every 100 m from 100 m on, texts "(T1)" to "(Tn)".
std::string cartelli(int n) {
  std::string s;
  for (int b = 1; b <= n; ++b) {
    s += "cartello_indicatore, " + std::to_string(100 * b) + ", (T" + std::to_string(b) + ")\r\n";
  }
  return s;
}

/// `n` stations of type 26 and length 0, every 400 m from 400 m on.
std::string stazioni(int n) {
  std::string s;
  for (int e = 1; e <= n; ++e) s += stazione(400 * e, 26, 0) + "\r\n";
  return s;
}

/// A line script with `generale` added to its general section.
std::string linea_con(std::int32_t lunghezza, const std::string& generale,
                      const std::string& corpo = "") {
  return "[generale]\r\nlunghezza percorso,    " + std::to_string(lunghezza) + "\r\n" + generale +
         "[curve]\r\n" + corpo + "[fine]\r\n";
}

/// Reads `linea` and `treno` in a fresh folder, without the line geometry;
/// `*scripts_rimasti` tells whether either script is still there afterwards.
StatoCompilazione leggi_scripts(const std::string& linea, const std::string& treno,
                                bool* scripts_rimasti = nullptr) {
  CartellaTemporanea cartella;
  cartella.scrivi(nome_script_linea(kPercorsoProva), linea);
  cartella.scrivi(nome_script_treno(kPercorsoProva, kTrenoProva), treno);
  StatoCompilazione stato = leggi_in(cartella, 0);
  if (scripts_rimasti) {
    *scripts_rimasti = cartella.esiste(nome_script_linea(kPercorsoProva)) ||
                       cartella.esiste(nome_script_treno(kPercorsoProva, kTrenoProva));
  }
  return stato;
}

/// The cells of `stato` whose `avvicinamento` is set, with its value.
std::map<int, int> avvicinamenti(const StatoCompilazione& stato) {
  std::map<int, int> m;
  for (std::size_t c = 0; c < stato.celle.size(); ++c) {
    if (stato.celle[c].avvicinamento != 0) m[static_cast<int>(c)] = stato.celle[c].avvicinamento;
  }
  return m;
}

/// The cells of `stato` holding a station end mark, with their `dato1`.
std::map<int, int> fini_stazione(const StatoCompilazione& stato) {
  std::map<int, int> m;
  for (std::size_t c = 0; c < stato.celle.size(); ++c) {
    if (stato.celle[c].tipo == tipo_cella::fine_stazione) {
      m[static_cast<int>(c)] = stato.celle[c].dato1;
    }
  }
  return m;
}

TEST(TrainReader, NovaraAsFirstStation) {
  const StatoCompilazione stato =
      leggi_scripts(script_linea(103000), script_treno(righe({"[stazioni]", kNovara})));
  EXPECT_EQ(stato.codice_errore, 0);
  const Parametro& e = stato.parametri[1];
  EXPECT_EQ(e.posizione, 66600);
  EXPECT_EQ(e.tipo, 4);
  EXPECT_EQ(e.inizio, 66350);
  EXPECT_EQ(e.fine, 66850);
  EXPECT_EQ(e.orario, 51900);
  EXPECT_EQ(e.opzione, 1);
  EXPECT_EQ(e.valore1, 4);
  EXPECT_EQ(e.valore2, 1);
  EXPECT_EQ(e.flag1, 0);
  EXPECT_EQ(e.valore3, 2);
  EXPECT_EQ(e.valore4, 1);
  EXPECT_EQ(e.valore5, 1);
  EXPECT_EQ(e.flag2, 1);
  EXPECT_EQ(e.flag3, 0);
  EXPECT_EQ(e.flag4, 0);
  EXPECT_EQ(e.nome, "NOVARA");
  EXPECT_EQ(avvicinamenti(stato),
            (std::map<int, int>{{1332, 84}, {1333, 83}, {1334, 82}, {1335, 81}}));
  EXPECT_EQ(fini_stazione(stato), (std::map<int, int>{{1336, 1}}));
  EXPECT_EQ(stato.parametri[2].posizione, 0);
}

/// A station read into entry `voce`, its extent, flags and cell marks.
struct CasoEstensione {
  const char* nome;
  std::string corpo;
  int voce;
  std::int32_t inizio;
  std::int32_t fine;
  int flag3;
  int flag4;
  std::map<int, int> avvicinamento;  ///< every cell with an approach marker
  std::map<int, int> fine_stazione;  ///< every cell with an end mark
};

TEST(TrainReader, StationExtentsAndMarks) {
  // Station 1 of type 26 and length 0 at 1000 m leaves no mark and lets the
  // second station keep `flag3` and `flag4`.
  const std::string prima = stazione(1000, 26, 0) + "\r\n";
  const std::vector<CasoEstensione> casi = {
      {"first station: flag3 lengthens the end, then both flags are cleared",
       righe({stazione(5000, 4, 600, "0, 1, 1")}),
       1,
       4700,
       5350,
       0,
       0,
       {{102, 84}, {103, 83}, {104, 82}, {105, 81}},
       {{106, 1}}},
      {"type 5: end 150 m beyond, no approach marks",
       prima + righe({stazione(5000, 5, 300, "0, 1, 1")}),
       2,
       4700,
       5150,
       0,
       0,
       {},
       {{102, 2}}},
      {"type 6 as type 5",
       prima + righe({stazione(5000, 6, 300)}),
       2,
       4700,
       5150,
       0,
       0,
       {},
       {{102, 2}}},
      {"type 7: the length on both sides, flag3 cleared",
       prima + righe({stazione(5000, 7, 300, "0, 1, 1")}),
       2,
       4700,
       5300,
       0,
       0,
       {{101, 84}, {102, 83}, {103, 82}, {104, 81}},
       {{105, 2}}},
      {"type 8 as type 7",
       prima + righe({stazione(5000, 8, 300)}),
       2,
       4700,
       5300,
       0,
       0,
       {{101, 84}, {102, 83}, {103, 82}, {104, 81}},
       {{105, 2}}},
      {"ordinary station of 600 m keeps both flags",
       prima + righe({stazione(5000, 4, 600, "0, 1, 1")}),
       2,
       4700,
       5350,
       1,
       1,
       {{102, 84}, {103, 83}, {104, 82}, {105, 81}},
       {{106, 2}}},
      {"ordinary station under 600 m loses flag4",
       prima + righe({stazione(5000, 24, 500, "0, 1, 0")}),
       2,
       4750,
       5250,
       0,
       0,
       {{100, 84}, {101, 83}, {102, 82}, {103, 81}},
       {{104, 2}}},
      {"type 25 and above: no cell marks, flag3 still lengthens the end",
       prima + righe({stazione(5000, 25, 300, "0, 1, 1")}),
       2,
       4850,
       5200,
       1,
       0,
       {},
       {}},
      {"type 26", prima + righe({stazione(5000, 26, 300)}), 2, 4850, 5150, 0, 0, {}, {}},
      {"the end mark replaces a signal in its cell",
       righe({segnale(5050), stazione(5000, 5, 300)}),
       1,
       4700,
       5150,
       0,
       0,
       {{94, 34}, {96, 33}, {98, 32}, {100, 31}},
       {{102, 1}}},
  };
  for (const CasoEstensione& caso : casi) {
    SCOPED_TRACE(caso.nome);
    const StatoCompilazione stato = leggi_scripts(script_linea(103000), script_treno(caso.corpo));
    EXPECT_EQ(stato.codice_errore, 0);
    const Parametro& e = stato.parametri[static_cast<std::size_t>(caso.voce)];
    EXPECT_EQ(e.inizio, caso.inizio);
    EXPECT_EQ(e.fine, caso.fine);
    EXPECT_EQ(e.flag3, caso.flag3);
    EXPECT_EQ(e.flag4, caso.flag4);
    EXPECT_EQ(avvicinamenti(stato), caso.avvicinamento);
    EXPECT_EQ(fini_stazione(stato), caso.fine_stazione);
  }
}

/// A pair of scripts and the code (with its position) they leave.
struct CasoCodice {
  const char* nome;
  std::string linea;
  std::string treno;
  std::int32_t codice;
  std::int32_t posizione;  ///< 0 where the code sets none
};

TEST(TrainReader, RecordedCodes) {
  // Route of 10000 m: cells 0 to 340, records up to 16900 m, stations up to
  // 16200 m.
  const std::string linea = script_linea(10000);
  const std::vector<CasoCodice> casi = {
      {"station position not a multiple of 50", script_linea(103000),
       script_treno(righe({"stazione,   66620,  4,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,  14,25, "
                           "0, NOVARA"})),
       codice::stazione_posizione, 66620},
      {"station length not a multiple of 100", linea, script_treno(righe({stazione(5000, 4, 550)})),
       codice::stazione_lunghezza, 5000},
      {"stations closer than 350 m", linea,
       script_treno(righe({stazione(5000, 4, 300), stazione(5450, 4, 300)})),
       codice::stazioni_vicine, 5450},
      {"stations exactly 350 m apart", linea,
       script_treno(righe({stazione(5000, 4, 300), stazione(5650, 4, 300)})), 0, 0},
      {"a type-26 station is spaced too", linea,
       script_treno(righe({stazione(5000, 4, 300), stazione(5450, 26, 300)})),
       codice::stazioni_vicine, 5450},
      {"end mark would fall in cell 1", linea, script_treno(righe({stazione(50, 4, 100)})),
       codice::stazione_troppo_presto, 0},
      {"end mark in cell 2", linea, script_treno(righe({stazione(150, 4, 0)})), 0, 0},
      {"type 25 at the start needs no end mark", linea, script_treno(righe({stazione(0, 25, 0)})),
       0, 0},
      {"station within 800 m of the end", linea, script_treno(righe({stazione(16250, 4, 300)})),
       codice::fuori_celle, 16250},
      {"last station position accepted", linea, script_treno(righe({stazione(16200, 4, 300)})), 0,
       0},
      {"negative station position", linea, script_treno(righe({stazione(-50, 26, 0)})),
       codice::fuori_celle, -50},
      {"end mark beyond the last cell", linea, script_treno(righe({stazione(16200, 7, 900)})),
       codice::fuori_celle, 16200},
      {"end mark in the last cell", linea, script_treno(righe({stazione(16150, 7, 900)})), 0, 0},
      {"type 26 may end beyond the cells", linea, script_treno(righe({stazione(16200, 26, 2000)})),
       0, 0},
      {"station time beyond 32 bits", linea,
       script_treno(righe({stazione(5000, 26, 0, "0, 0, 0", "1000000")})), codice::lettura_fallita,
       0},
      {"station end beyond 32 bits", linea, script_treno(righe({stazione(5000, 7, 2147483600)})),
       codice::lettura_fallita, 0},
      {"station type beyond a byte", linea, script_treno(righe({stazione(5000, 256, 0)})),
       codice::lettura_fallita, 0},
      {"code cell on a signal", linea,
       script_treno(righe({segnale(5000), "abbattimento, 5050, 1"})), codice::abbattimento_occupato,
       5050},
      {"code cell beyond the cells", linea, script_treno(righe({"abbattimento, 16950, 1"})),
       codice::fuori_celle, 16950},
      {"code cell at the last position accepted", linea,
       script_treno(righe({"abbattimento, 16900, 1"})), 0, 0},
      {"signal beyond the cells", linea, script_treno(righe({segnale(16950)})), codice::fuori_celle,
       16950},
      {"negative signal position", linea, script_treno(righe({segnale(-50)})), codice::fuori_celle,
       -50},
      {"signal on a taken cell", linea, script_treno(righe({segnale(5000), segnale(5000)})),
       codice::segnale_occupato, 5000},
      {"slowdown ending beyond the cells", linea,
       script_treno(righe({"rallentamento, 16000, 40, 1000, 0, 0, 0"})), codice::fuori_celle,
       16000},
      {"slowdown starting on a taken cell", linea,
       script_treno(righe({segnale(5000), "rallentamento, 5000, 40, 200, 0, 0, 0"})),
       codice::inizio_occupato, 5000},
      {"speed record beyond the cells", linea, script_treno(righe({"velocita, 16950, 80"})),
       codice::fuori_celle, 16950},
      {"adhesion record beyond the cells", linea, script_treno(righe({"aderenza, 16950, 80"})),
       codice::fuori_celle, 16950},
      {"speed of 1280 km/h", linea, script_treno(righe({"velocita, 0, 1280"})),
       codice::lettura_fallita, 0},
      {"speed of 1280 km/h followed by another record", linea,
       script_treno(righe({"velocita, 0, 1280", "velocita, 500, 100"})), codice::lettura_fallita,
       0},
      {"speed of 1277 km/h", linea, script_treno(righe({"velocita, 0, 1277"})), 0, 0},
      {"negative speed rounding below 0", linea, script_treno(righe({"velocita, 0, -3"})),
       codice::lettura_fallita, 0},
      {"sand beyond 16 bits", linea, script_treno(righe({"sabbia, 40000"})),
       codice::lettura_fallita, 0},
      {"chainage values 25, 100, 0",
       linea_con(10000, "progressiva chilometrica tre,    25,    100,    0\r\n"), script_treno(),
       codice::progressiva_non_multipla, 0},
      {"chainage end not a multiple of 50",
       linea_con(10000, "progressiva chilometrica uno,    0,    130,    0\r\n"), script_treno(),
       codice::progressiva_non_multipla, 0},
      {"chainage code replaces code 15",
       linea_con(10000, "progressiva chilometrica tre,    25,    100,    0\r\n"),
       script_treno(righe({stazione(16250, 4, 300)})), codice::progressiva_non_multipla, 16250},
      {"a coded exit skips the chainage test",
       linea_con(10000, "progressiva chilometrica tre,    25,    100,    0\r\n"),
       script_treno(righe({stazione(5020, 4, 300)})), codice::stazione_posizione, 5020},
      {"no [generale]: nothing read, no code", linea, righe({"velocita, 0, 1280"}), 0, 0},
      {"80 indicator boards leave no entry for a station", script_linea(10000, cartelli(80)),
       script_treno(righe({stazione(9000, 26, 0)})), codice::tabella_piena, 0},
      {"79 indicator boards: the first station fills the table", script_linea(10000, cartelli(79)),
       script_treno(righe({stazione(9000, 26, 0)})), codice::tabella_piena, 0},
      {"78 stations", script_linea(40000), script_treno(stazioni(78)), 0, 0},
      {"79 stations reach the limit", script_linea(40000), script_treno(stazioni(79)),
       codice::tabella_piena, 0},
  };
  for (const CasoCodice& caso : casi) {
    SCOPED_TRACE(caso.nome);
    bool rimasti = true;
    const StatoCompilazione stato = leggi_scripts(caso.linea, caso.treno, &rimasti);
    EXPECT_EQ(stato.codice_errore, caso.codice);
    EXPECT_EQ(stato.posizione_errore, caso.posizione);
    EXPECT_FALSE(rimasti) << "a script was left behind";
  }
}

/// A station record that fails partway, and what its entry holds after it.
struct CasoInterrotto {
  const char* nome;
  std::string treno;
  std::int32_t codice;
  std::int32_t orario;
  const char* nome_stazione;
  std::int32_t inizio;
  std::int32_t fine;
  int flag3;
  int flag4;
};

TEST(TrainReader, StationStoresInOrderUpToAFailure) {
  // Station 2 at 5000 m, after a first station that leaves no mark; its
  // `valore5` (7) is read before every failure below, its `flag3` and
  // `flag4` are 1 as read, and only a length under 600 m clears `flag4`
  // once the extent is stored.
  const std::string prima = "[generale]\r\n" + stazione(1000, 26, 0) + "\r\n";
  const auto riga = [](int tipo, std::int64_t lunghezza, const std::string& ore = "14") {
    return "stazione, 5000, " + std::to_string(tipo) + ", " + std::to_string(lunghezza) +
           ", 0, 1, 1,  0,0,0,  0,0,7,  0,  " + ore + ",0, 0";
  };
  const std::vector<CasoInterrotto> casi = {
      {"time beyond 32 bits: the name is not read", prima + riga(4, 600, "1000000") + ", S\r\n",
       codice::lettura_fallita, 0, "", 0, 0, 1, 1},
      {"name missing at the end of the script: the time is stored", prima + riga(4, 600),
       codice::lettura_fallita, 50400, "", 0, 0, 1, 1},
      {"type 5: the end is stored, the start does not fit",
       prima + riga(5, -2147483600) + ", S\r\n", codice::lettura_fallita, 50400, "S", 0, 5150, 1,
       1},
      {"type 7: the start does not fit", prima + riga(7, -2147483600) + ", S\r\n",
       codice::lettura_fallita, 50400, "S", 0, 0, 1, 1},
      {"type 8: the start is stored, the end does not fit", prima + riga(8, 2147483600) + ", S\r\n",
       codice::lettura_fallita, 50400, "S", -2147478600, 0, 1, 1},
      {"ordinary type: the longest lengths still fit, flag3 adds its 50",
       prima + riga(26, -2147483600) + ", S\r\n", 0, 50400, "S", 1073746800, -1073736750, 1, 0},
  };
  for (const CasoInterrotto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    const StatoCompilazione stato = leggi_scripts(script_linea(10000), caso.treno);
    EXPECT_EQ(stato.codice_errore, caso.codice);
    const Parametro& e = stato.parametri[2];
    EXPECT_EQ(e.posizione, 5000);
    EXPECT_EQ(e.valore5, 7);
    EXPECT_EQ(e.orario, caso.orario);
    EXPECT_EQ(e.nome, caso.nome_stazione);
    EXPECT_EQ(e.inizio, caso.inizio);
    EXPECT_EQ(e.fine, caso.fine);
    EXPECT_EQ(e.flag3, caso.flag3);
    EXPECT_EQ(e.flag4, caso.flag4);
    EXPECT_TRUE(fini_stazione(stato).empty());
  }
}

TEST(TrainReader, FullTableStoresNoStation) {
  const StatoCompilazione piena = leggi_scripts(script_linea(10000, cartelli(80)),
                                                script_treno(righe({stazione(9000, 26, 0)})));
  EXPECT_EQ(piena.codice_errore, codice::tabella_piena);
  EXPECT_EQ(piena.parametri[1].nome, "(T80)");
  EXPECT_EQ(piena.parametri[1].posizione, 0);

  const StatoCompilazione quasi = leggi_scripts(script_linea(10000, cartelli(79)),
                                                script_treno(righe({stazione(9000, 26, 0)})));
  EXPECT_EQ(quasi.codice_errore, codice::tabella_piena);
  EXPECT_EQ(quasi.parametri[1].posizione, 9000);
  EXPECT_EQ(quasi.parametri[2].nome, "(T79)");
}

TEST(TrainReader, EndMarkBeyondCellsStopsBeforeAnyMark) {
  const StatoCompilazione stato =
      leggi_scripts(script_linea(10000),
                    script_treno(righe({stazione(16200, 7, 900, "1, 1, 1"), segnale(5000)})));
  EXPECT_EQ(stato.codice_errore, codice::fuori_celle);
  EXPECT_EQ(stato.posizione_errore, 16200);
  EXPECT_EQ(stato.parametri[1].flag4, 1) << "flags are cleared only after the test";
  EXPECT_TRUE(avvicinamenti(stato).empty());
  EXPECT_TRUE(fini_stazione(stato).empty());
  EXPECT_EQ(stato.celle[101].tipo, tipo_cella::vuota) << "reading stopped at the station";
}

TEST(TrainReader, Code15StopsReadingButFillsRun) {
  const StatoCompilazione stato = leggi_scripts(
      script_linea(10000),
      script_treno(righe({"velocita, 0, 80", "aderenza, 0, 100", stazione(16250, 4, 300),
                          "velocita, 1000, 135", stazione(5000, 4, 300)})));
  EXPECT_EQ(stato.codice_errore, codice::fuori_celle);
  EXPECT_EQ(stato.posizione_errore, 16250);
  EXPECT_EQ(stato.parametri[2].posizione, 0);
  for (int c = 0; c <= 337; ++c) {
    ASSERT_EQ(stato.celle[static_cast<std::size_t>(c)].velocita, 16) << "cell " << c;
    ASSERT_EQ(stato.celle[static_cast<std::size_t>(c)].aderenza, 100) << "cell " << c;
  }
}

TEST(TrainReader, CodedExitSkipsFills) {
  const StatoCompilazione stato = leggi_scripts(
      script_linea(10000), script_treno(righe({"velocita, 0, 80", "aderenza, 0, 100", segnale(5000),
                                               segnale(5000), "velocita, 1000, 135"})));
  EXPECT_EQ(stato.codice_errore, codice::segnale_occupato);
  for (const Cella& c : stato.celle) {
    ASSERT_EQ(c.velocita, 0);
    ASSERT_EQ(c.aderenza, 0);
  }
}

TEST(TrainReader, LineStageCode15DoesNotStopSignalsAndSlowdowns) {
  // The gradient beyond the cells leaves code 15 from the line stage; the
  // train stage still reads every record after the signal and the slowdown.
  const StatoCompilazione stato =
      leggi_scripts(script_linea(10000, "pendenza, 20000, 5\r\n"),
                    script_treno(righe({segnale(5000), "rallentamento, 8000, 40, 200, 0, 0, 0",
                                        "velocita, 0, 80", stazione(3000, 26, 0)})));
  EXPECT_EQ(stato.codice_errore, codice::fuori_celle);
  EXPECT_EQ(stato.posizione_errore, 20000);
  EXPECT_EQ(stato.celle[101].tipo, tipo_cella::segnale);
  EXPECT_EQ(stato.celle[161].tipo, tipo_cella::inizio_rallentamento);
  EXPECT_EQ(stato.celle[165].tipo, tipo_cella::fine_rallentamento);
  EXPECT_EQ(stato.celle[0].velocita, 16);
  EXPECT_EQ(stato.parametri[1].posizione, 3000);
}

TEST(TrainReader, BuiltInRecordsReachTheirPlaces) {
  const StatoCompilazione stato = leggi_scripts(
      script_linea(103000),
      script_treno(righe({"numero vetture,    4", "percentuale massa frenata,    105",
                          "sabbia,    300", "orologio,    14              24            40 ",
                          "[segnali]", "segnale,   67400,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
                          "segnale,   69700,   2, 2, 4,  0, 0,    0,  0,0,0, 255",
                          "[rallentamenti]", "rallentamento,   93800,    40,  200, 0,  1,  0"})));
  EXPECT_EQ(stato.codice_errore, 0);
  EXPECT_EQ(stato.parametri[voce::treno].posizione, 4);
  EXPECT_EQ(stato.parametri[voce::treno].inizio, 105);
  const Parametro& r = stato.parametri[voce::ripetizione];
  EXPECT_EQ(r.valore1, 300);
  EXPECT_EQ(r.valore3, 14);
  EXPECT_EQ(r.valore4, 24);
  EXPECT_EQ(r.valore5, 40);

  const Cella& s = stato.celle[1349];
  EXPECT_EQ(s.tipo, tipo_cella::segnale);
  EXPECT_EQ(s.dato1, 50);
  EXPECT_EQ(s.dato2, 10);
  EXPECT_EQ(s.dato3, 0);
  EXPECT_EQ(s.dato4, 3);
  EXPECT_EQ(s.tempo, 0);
  EXPECT_EQ(stato.celle[1395].tipo, tipo_cella::segnale);
  EXPECT_EQ(stato.celle[1395].tempo, 255);

  EXPECT_EQ(stato.celle[1853].tipo, tipo_cella::avviso_rallentamento);
  EXPECT_EQ(stato.celle[1877].tipo, tipo_cella::inizio_rallentamento);
  EXPECT_EQ(stato.celle[1877].dato1, 40);
  EXPECT_EQ(stato.celle[1881].tipo, tipo_cella::fine_rallentamento);
  EXPECT_EQ(stato.celle[1849].tipo, tipo_cella::prima_dell_avviso) << "f_ta = 1";
}

TEST(TrainReader, CodeCells) {
  // The mountain section marks every fourth cell from cell 20: cell 23 holds
  // a marker, which stays free for a code cell.
  const StatoCompilazione stato =
      leggi_scripts(script_linea(10000, "montagna, 1000, 3000, 11\r\n"),
                    script_treno(righe({"abbattimento, 5000, 0", "abbattimento, 5050, -5",
                                        "abbattimento, 5100, 70000", "abbattimento, 1150, 75",
                                        "ABBATTIMENTO, 5175, 9"})));
  ASSERT_EQ(stato.codice_errore, 0);
  EXPECT_EQ(stato.celle[100].tipo, tipo_cella::codice_senza_valore);
  EXPECT_EQ(stato.celle[100].dato1, 0);
  EXPECT_EQ(stato.celle[101].tipo, tipo_cella::codice_senza_valore);
  EXPECT_EQ(stato.celle[102].tipo, tipo_cella::codice);
  EXPECT_EQ(stato.celle[102].dato1, 70000 - 65536);
  EXPECT_EQ(stato.celle[23].tipo, tipo_cella::codice);
  EXPECT_EQ(stato.celle[23].dato1, 75);
  // round(5175 / 50) = round(103.5) = 104.
  EXPECT_EQ(stato.celle[103].tipo, tipo_cella::vuota);
  EXPECT_EQ(stato.celle[104].tipo, tipo_cella::codice);
  EXPECT_EQ(stato.celle[104].dato1, 9);
  // round(5125 / 50) = round(102.5) = 102 is taken: 5125 is refused.
  const StatoCompilazione pari = leggi_scripts(
      script_linea(10000), script_treno(righe({"abbattimento, 5100, 1", "abbattimento, 5125, 1"})));
  EXPECT_EQ(pari.codice_errore, codice::abbattimento_occupato);
  EXPECT_EQ(pari.posizione_errore, 5125);
}

/// A stretch of cells [da, a] holding one value.
struct Tratto {
  int da;
  int a;
  int valore;
};

/// Speed or adhesion records and the profile they leave over all cells.
struct CasoProfilo {
  const char* nome;
  std::string treno;
  bool velocita;  ///< true: `velocita` is checked, else `aderenza`
  std::vector<Tratto> tratti;
};

TEST(TrainReader, SpeedAndAdhesionProfiles) {
  // Route of 10000 m: cells 0 to 340; the end fill stops before cell 338.
  const std::vector<CasoProfilo> casi = {
      {"built-in start of the speed profile",
       script_treno(righe({"velocita,       0,    80", "velocita,    1500,   135"})),
       true,
       {{0, 29, 16}, {30, 337, 27}, {338, 340, 0}}},
      {"no speed record", script_treno(), true, {{0, 340, 0}}},
      {"first speed record after 0",
       script_treno(righe({"velocita, 1000, 100"})),
       true,
       {{0, 19, 0}, {20, 337, 20}, {338, 340, 0}}},
      {"cell index 1.5 rounds to 2",
       script_treno(righe({"velocita, 0, 80", "velocita, 75, 135"})),
       true,
       {{0, 1, 16}, {2, 337, 27}, {338, 340, 0}}},
      {"cell index 2.5 rounds to 2",
       script_treno(righe({"velocita, 0, 80", "velocita, 125, 135"})),
       true,
       {{0, 1, 16}, {2, 337, 27}, {338, 340, 0}}},
      {"cell index 0.5 rounds to 0: nothing written",
       script_treno(righe({"velocita, 0, 80", "velocita, 25, 135"})),
       true,
       {{0, 337, 27}, {338, 340, 0}}},
      {"a repeated position still writes one cell",
       script_treno(righe({"velocita, 0, 80", "velocita, 1000, 100", "velocita, 1000, 50"})),
       true,
       {{0, 19, 16}, {20, 20, 20}, {21, 337, 10}, {338, 340, 0}}},
      {"keyword in capitals, header ignored",
       script_treno(righe({"[vel_limite]", "VELOCITA, 1000, 100"})),
       true,
       {{0, 19, 0}, {20, 337, 20}, {338, 340, 0}}},
      {"comment lines are skipped",
       script_treno(righe({"- velocita 1000 135", "- velocita 2000 135", "velocita, 0, 80"})),
       true,
       {{0, 337, 16}, {338, 340, 0}}},
      {"a third comment line is read as a keyword field",
       script_treno(righe({"- a", "- b", "- velocita", "500, 100"})),
       true,
       {{0, 9, 0}, {10, 337, 20}, {338, 340, 0}}},
      {"no [generale]: no record", righe({"velocita, 0, 80", "[fine]"}), true, {{0, 340, 0}}},
      {"built-in adhesion records",
       script_treno(righe({"aderenza,   0,    100", "aderenza,   5000,    70"})),
       false,
       {{0, 99, 100}, {100, 337, 70}, {338, 340, 0}}},
      {"adhesion keeps its low 8 bits",
       script_treno(righe({"aderenza, 0, 300", "aderenza, 1000, -1"})),
       false,
       {{0, 19, 44}, {20, 337, 255}, {338, 340, 0}}},
      {"a repeated adhesion position still writes one cell",
       script_treno(righe({"aderenza, 0, 100", "aderenza, 1000, 70", "aderenza, 1000, 50"})),
       false,
       {{0, 19, 100}, {20, 20, 70}, {21, 337, 50}, {338, 340, 0}}},
  };
  for (const CasoProfilo& caso : casi) {
    SCOPED_TRACE(caso.nome);
    const StatoCompilazione stato = leggi_scripts(script_linea(10000), caso.treno);
    EXPECT_EQ(stato.codice_errore, 0);
    ASSERT_EQ(stato.celle.size(), 341u);
    for (const Tratto& t : caso.tratti) {
      for (int c = t.da; c <= t.a; ++c) {
        const Cella& cella = stato.celle[static_cast<std::size_t>(c)];
        ASSERT_EQ(caso.velocita ? cella.velocita : cella.aderenza, t.valore) << "cell " << c;
      }
    }
  }
}

TEST(TrainReader, BuiltInAdhesionAndSpeedOnTheFullRoute) {
  const StatoCompilazione stato =
      leggi_scripts(script_linea(103000),
                    script_treno(righe({"aderenza,   0,    100", "aderenza,   66550,    70",
                                        "velocita,       0,    80", "velocita,    1500,   135"})));
  ASSERT_EQ(stato.celle.size(), 2201u);
  EXPECT_EQ(stato.celle[1330].aderenza, 100);
  EXPECT_EQ(stato.celle[1331].aderenza, 70);
  EXPECT_EQ(stato.celle[2197].aderenza, 70);
  EXPECT_EQ(stato.celle[2198].aderenza, 0);
  EXPECT_EQ(stato.celle[29].velocita, 16);
  EXPECT_EQ(stato.celle[30].velocita, 27);
  EXPECT_EQ(stato.celle[2197].velocita, 27);
  EXPECT_EQ(stato.celle[2198].velocita, 0);
}

TEST(TrainReader, MissingTrainScriptIsAReadFailure) {
  CartellaTemporanea cartella;
  cartella.scrivi(nome_script_linea(kPercorsoProva), script_linea(10000));
  const StatoCompilazione stato = leggi_in(cartella, 0);
  EXPECT_EQ(stato.codice_errore, codice::lettura_fallita);
  EXPECT_FALSE(cartella.esiste(nome_script_linea(kPercorsoProva)));
}

}  // namespace
}  // namespace scenario
