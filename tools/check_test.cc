#include "tools/check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "base/file_names.h"
#include "base/memory_file_system.h"
#include "scripts/builtin_scripts.h"
#include "tools/check_warnings.h"

namespace scenario {
namespace {

constexpr const char* kLinea = "R_linea.txt";
constexpr const char* kTreno = "R_1-.txt";

/// A script from its lines, each ended by CR LF.
std::string script(std::initializer_list<std::string> righe) {
  std::string s;
  for (const std::string& r : righe) s += r + "\r\n";
  return s;
}

/// A station line at `posizione` with the given time and name.
std::string stazione(const std::string& posizione, const std::string& ora,
                     const std::string& nome) {
  return "stazione, " + posizione + ", 4, 400,  1, 0, 0,  4,1,0,  2,1,1,    1,  " + ora + ", " +
         nome;
}

/// What a diagnostic is checked by: script (0 line, 1 train), line,
/// column, and the code of an error or the name of a warning.
using Atteso = std::tuple<int, int, int, std::variant<int, std::string>>;

std::vector<Atteso> riassunto(const EsitoControllo& esito) {
  std::vector<Atteso> v;
  for (const Diagnostica& d : esito.diagnostiche) {
    const int file = d.file == kLinea ? 0 : 1;
    if (d.gravita == Gravita::errore) {
      v.emplace_back(file, d.riga, d.colonna, static_cast<int>(d.codice));
    } else {
      v.emplace_back(file, d.riga, d.colonna, d.nome);
    }
  }
  return v;
}

EsitoControllo controlla(const std::string& linea, const std::string& treno,
                         const OpzioniControllo& opzioni = {}) {
  return controlla_scenario("R", "1", {kLinea, linea}, {kTreno, treno}, opzioni);
}

std::string testo_incorporato(bool linea) {
  MemoryFileSystem fs;
  std::string err;
  if (linea) {
    dati_linea(fs, "/m", kNomePercorso, &err);
    return fs.files()[percorso_in("/m", nome_script_linea(kNomePercorso))];
  }
  dati_treno(fs, "/m", kNomePercorso, kNumeroTreno, &err);
  return fs.files()[percorso_in("/m", nome_script_treno(kNomePercorso, kNumeroTreno))];
}

TEST(Check, BuiltinScriptsGiveNoErrorAndOnlyTheirTimetableWarning) {
  const EsitoControllo esito =
      controlla_scenario(kNomePercorso, kNumeroTreno, {kLinea, testo_incorporato(true)},
                         {kTreno, testo_incorporato(false)}, {});
  EXPECT_EQ(esito.errori, 0u);
  // VIGNALE at 14:23 follows NOVARA at 14:25 in the built-in timetable.
  EXPECT_EQ(riassunto(esito), (std::vector<Atteso>{{1, 28, 63, "timetable-order"}}));
  EXPECT_TRUE(esito.completo);
}

struct Caso {
  const char* nome;
  std::string linea;
  std::string treno;
  std::vector<Atteso> atteso;
};

const std::string kFine = "[fine]";

TEST(Check, BrokenScriptsGiveEveryProblemInOneRun) {
  const std::string lunghezza = "lunghezza percorso,    12000";
  const std::vector<Caso> casi = {
      {"every warning but the empty script",
       script({"[generale]",
               lunghezza,
               "progressiva chilometrica uno,    1500,    12000,    1",
               "progressiva chilometrica due,    1500,    0,    0",
               "Sfondo uno,    1",
               "sfondo due, 0",
               "sfondo due, 1",
               "pendenza, 0, 0",
               "ripetizione segnali 4 codici,    0    ,0",
               "[curve]",
               "curvad4,  2500,  600",
               "curvas3,  2800,  1200",
               "curvad3,  2000,  100",
               "curvx4,  9000,  800",
               "curvas2, 11900, 500",
               "[pendenze]",
               "pendenza,  0,   0",
               "pendenza,  4000,   2",
               "pendenza,  1500,   6",
               "pendenza,  7010,  -5",
               "pendenza,  10000,   200",
               "pendenza,  12500,  0",
               "pendenza,  13000",
               "   0",
               "lunghezza percorso, 12000",
               "[cartelli]",
               "indicatori_vmax,  1500,  120,  130,  130,  0,  127,  ,  ,  0",
               "montagna, 3000, 4000, 11, 5",
               "[indicazioni]",
               "cartello_indicatore,  3000,   (PONTE)(CITT\xC3\x80)",
               kFine}),
       script({"Train W", "[generale]", "numero vetture,    3",
               "orologio sabbia,    28,  75,  0,  300", "numero vetture, 4",
               "aderenza,   100,    300", "aderenza,   50,   100", "velocita,       0,    80",
               "velocita,    1500,   82", "velocita,   1000,  100", "velocita,   12600,  100",
               "stazoine,    1000,  4,  400,  1, 0, 0,  4,1,0,  2,1,1,    1,   8,20, 0, PIANO",
               "stazione,    100,  4,  400,  1, 0, 0,  4,1,0,  2,1,1,    1,   8,20, 0, PIANO",
               "stazione,   11000,  4,  400,  1, 0, 0,  4,1,0,  2,1,1,    1,   8,12, 70, "
               "CITT\xC3\x80",
               "rallentamento,    1200,    120,  10, 0,  1,  0",
               "segnale,    5010,   2, 5, 1,  0, 0,    0,  0,0,0, 300", "abbattimento, 6000, 1",
               kFine}),
       {{0, 3, 1, "chainage-reset"},       {0, 5, 1, "unknown-record"},
        {0, 7, 1, "duplicate-record"},     {0, 8, 1, "unknown-record"},
        {0, 12, 11, "overlapping-curves"}, {0, 13, 11, "out-of-order"},
        {0, 14, 1, "unknown-record"},      {0, 15, 17, "past-route-end"},
        {0, 19, 12, "out-of-order"},       {0, 20, 12, "inexact-position"},
        {0, 21, 21, "truncated-value"},    {0, 22, 12, "past-route-end"},
        {0, 23, 12, "past-route-end"},     {0, 23, 17, "missing-fields"},
        {0, 25, 1, "unknown-record"},      {0, 27, 48, "inexact-speed"},
        {0, 28, 27, "extra-fields"},       {0, 30, 43, "non-ascii-text"},
        {1, 4, 1, "ambiguous-keyword"},    {1, 4, 21, "time-out-of-range"},
        {1, 4, 26, "time-out-of-range"},   {1, 5, 1, "duplicate-record"},
        {1, 6, 13, "profile-start"},       {1, 6, 21, "truncated-value"},
        {1, 7, 13, "out-of-order"},        {1, 9, 22, "inexact-speed"},
        {1, 10, 13, "out-of-order"},       {1, 11, 13, "past-route-end"},
        {1, 12, 1, "unknown-record"},      {1, 13, 14, "station-before-start"},
        {1, 14, 64, "timetable-order"},    {1, 14, 70, "time-out-of-range"},
        {1, 14, 78, "non-ascii-text"},     {1, 15, 19, "no-warning-board"},
        {1, 15, 34, "inexact-position"},   {1, 15, 34, "short-slowdown"},
        {1, 16, 13, "inexact-position"},   {1, 16, 51, "truncated-value"}}},
      {"errors of the reader, the encoders and the post-pass",
       script({"[generale]", lunghezza, "progressiva chilometrica uno,    25,    12000,    1",
               "ripetizione segnali 4 codici,    120    ,0", "[curve]", "curvas,  1000,  100",
               "[pendenze]", "pendenza, 0, 0", "[montagne]", "montagna, 3000, 4000, 11",
               "[cartelli]", "indicatori_vmax, 6000, 120, 130, 130, 0, , , , 0",
               "indicatori_vmax, 6000, 120, 130, 130, 0, , , , 0",
               "indicatori_vmax, 7000, 2000, 130, 130, 0, , , , 0", "[indicazioni]",
               "cartello_indicatore, 5950, (x)", "cartello_indicatore, 0, (a)", kFine}),
       script({"[generale]", "aderenza, 0, 100", "velocita, 0, 80", "velocita, 500, 2000",
               "stazione, 50, 4, 100,  1, 0, 0,  4,1,0,  2,1,1,    1,  8,20, 0, A",
               "stazione, 2000, 4, 450,  1, 0, 0,  4,1,0,  2,1,1,    1,  8,20, 0, B",
               stazione("3000", "8,21, 0", "C"), stazione("3300", "8,22, 0", "D"),
               "abbattimento, 3150, 1", "abbattimento, 7800, 1", "abbattimento, 7750, 1",
               "abbattimento, 7700, 1", "abbattimento, 8500, 1", "abbattimento, 8450, 1",
               "rallentamento, 8000, 60, 300, 0, 1, 0",
               "segnale, 8500, 1, 5, 1,  0, 0,    0,  0,0,0, 0", kFine}),
       {{0, 3, 34, 2},
        {0, 4, 34, 3},
        {0, 6, 1, 103},
        {0, 13, 18, 21},
        {0, 14, 24, 25},
        {0, 17, 1, 1250},
        {1, 4, 16, 25},
        {1, 5, 11, 24},
        {1, 6, 20, 9},
        {1, 8, 11, 22},
        {1, 9, 15, 7},
        {1, 15, 16, 12},
        {1, 15, 16, 13}}},
      {"collisions, curves, stations and fields",
       script({"[generale]", lunghezza, "ripetizione segnali 4 codici,    0    ,120",
               "ripetizione segnali codici,    0    ,0", "[curve]", "curvad4,  20000,  100",
               "curvad4,  18800,  500", "curvad4,  5x0,  100", "curvad4,  1000,  100", "[cartelli]",
               "indicatori_vmax, 3000, 120, 130, 130, 0, , , , 0",
               "indicatori_vmax, 8450, 120, 130, 130, 0, , , , 0", "[indicazioni]",
               "cartello_indicatore, 3000, (x)", "cartello_indicatore, 8400, (y)", kFine}),
       script({"[generale]", "velocita, 0, 100", "aderenza, 0, 100",
               "segnale, 3000, 1, 5, 1,  0, 0,    0,  0,0,0, 0",
               "segnale, 3800, 1, 5, 1,  0, 0,    0,  0,0,0, 0",
               "rallentamento, 5000, 60, 300, 0, 0, 0", "abbattimento, 6050, 1",
               "rallentamento, 6000, 60, 300, 0, 0, 0", "abbattimento, 5700, 1",
               "rallentamento, 7000, 60, 300, 0, 1, 0",
               "segnale, 8500, 1, 5, 1,  0, 0,    0,  0,0,0, 0",
               "rallentamento, 10000, 60, 300, 0, 0, 0", stazione("12020", "8,20, 0", "A"),
               stazione("18500", "8,20, 0", "B"), "segnale, 20000, 1, 5, 1,  0, 0,    0,  0,0,0, 0",
               "velocita, 1000, 1x0", kFine}),
       {{0, 3, 40, 4},
        {0, 4, 1, 5},
        {0, 6, 11, 15},
        {0, 7, 19, 15},
        {0, 8, 11, 25},
        {0, 9, 11, "out-of-order"},
        {0, 14, 22, 6},
        {1, 4, 10, 16},
        {1, 6, 16, 17},
        {1, 8, 16, 18},
        {1, 10, 34, 20},
        {1, 11, 10, 11},
        {1, 13, 11, 8},
        {1, 14, 11, 15},
        {1, 15, 10, 15},
        {1, 16, 17, 25}}},
      {"a route too long stops the check; a train script without records",
       script({"[generale]", "lunghezza percorso, 2000000", "[x]", "pendenza, 0, 0", kFine}),
       script({"[generale]", kFine}),
       {{0, 2, 21, 1}, {1, 1, 1, "empty-script"}}},
      {"no route length; a train script of random bytes",
       script({"[generale]", "sfondo uno, 1", "[x]", "pendenza, 0, 0", kFine}),
       std::string("\x01\xff\x80 ,,\n\r\x7f garbage, 12\n", 20),
       {{0, 3, 1, 25}, {1, 1, 1, "empty-script"}}},
      {"no [generale]",
       script({"lunghezza percorso, 9000", kFine}),
       script({"[generale]", "velocita, 0, 80", "aderenza, 0, 100", kFine}),
       {{0, 1, 1, 102}}},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    EXPECT_EQ(riassunto(controlla(c.linea, c.treno)), c.atteso);
  }
}

TEST(Check, MessagesSayWhatWasFoundAndWhatWasExpected) {
  const EsitoControllo esito = controlla(
      script({"[generale]", "lunghezza percorso, 103000", "[x]", "pendenza, 79610, 0",
              "pendenza, 90000", "pendenza, 95000, 0", "cartello_indicatore, 150000, (x)",
              "cartello_indicatore, 5000, (a)", kFine}),
      script({"[generale]", "velocita, 0, 120.5", "segnale, 99999999999, 1", "aderenza, 0, 100",
              "segnale, 5000, 1, 5, 1,  0, 0,    0,  0,0,0, 0", kFine}));
  std::vector<std::string> messaggi;
  for (const Diagnostica& d : esito.diagnostiche) {
    messaggi.push_back(d.messaggio);
    for (const Nota& n : d.note)
      messaggi.push_back("note " + std::to_string(n.riga) + ": " + n.messaggio);
  }
  const std::vector<std::string> attesi = {
      "gradient position 79610 m is not a multiple of 50 m: it is rounded to 79600 m",
      "expected 2 fields after `pendenza`, found 1",
      "position 150000 m is past the end of the cell array (last position 109900 m)",
      "expected a whole number for `velocita`, found `120.5`",
      "value 99999999999 for `posizione` does not fit a 32-bit number",
      "signal at 5000 m falls in cell 101, which already holds an indicator board",
      "note 8: cell 101 already holds an indicator board placed here",
  };
  EXPECT_EQ(messaggi, attesi);
}

TEST(Check, ErrorsBeyondTheLimitAreCountedNotShown) {
  std::string treno = "[generale]\r\n";
  for (int i = 0; i < 25; ++i) treno += "velocita, " + std::to_string(i * 100) + ", x\r\n";
  treno += "[fine]\r\n";
  const std::string linea = script({"[generale]", "lunghezza percorso, 9000", "[x]", kFine});
  const EsitoControllo esito = controlla(linea, treno);
  EXPECT_EQ(esito.errori, 25u);
  EXPECT_EQ(esito.errori_non_mostrati, 5u);
  EXPECT_EQ(esito.diagnostiche.size(), 20u);
  EXPECT_TRUE(esito.completo);
  OpzioniControllo tutti;
  tutti.limite_errori = 0;
  EXPECT_EQ(controlla(linea, treno, tutti).errori_non_mostrati, 0u);
}

TEST(Check, NoWarnSilencesByName) {
  const std::string linea = script({"[generale]", "lunghezza percorso, 9000", "[x]",
                                    "pendenza, 110, 0", "pendenza, 12000, 0", kFine});
  const std::string treno = script({"[generale]", "velocita, 0, 80", "aderenza, 0, 100", kFine});
  EXPECT_EQ(controlla(linea, treno).avvisi, 2u);
  OpzioniControllo opzioni;
  opzioni.avvisi_spenti = {"inexact-position"};
  EXPECT_EQ(riassunto(controlla(linea, treno, opzioni)),
            (std::vector<Atteso>{{0, 5, 11, "past-route-end"}}));
  for (std::string_view nome : kNomiAvvisi) EXPECT_TRUE(avviso_esiste(nome)) << nome;
  EXPECT_FALSE(avviso_esiste("no-such-warning"));
}

}  // namespace
}  // namespace scenario
