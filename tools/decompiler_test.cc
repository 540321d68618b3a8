#include "tools/decompiler.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "tools/file_difference.h"
#include "tools/memory_compile.h"
#include "tools/script_writer.h"
#include "tools/testing/random_scenario.h"

namespace scenario {
namespace {

constexpr const char* kPercorso = "Casuale";
constexpr const char* kTreno = "7";

/// The files of a compile, decoded.
FileDecodificati decodifica(const BytesScenario& b) {
  FileDecodificati f;
  ErroreDecodifica err;
  f.con_linea = b.con_linea;
  if (b.con_linea) {
    EXPECT_TRUE(decodifica_linea(b.linea, &f.linea, &err)) << err.messaggio;
  }
  EXPECT_TRUE(decodifica_parametri(b.parametri, &f.parametri, &err)) << err.messaggio;
  EXPECT_TRUE(decodifica_celle(b.celle, &f.celle, &err)) << err.messaggio;
  return f;
}

/// What kinds of records the random scenarios gave back, to show that the
/// property was checked on each.
struct Copertura {
  std::set<std::pair<int, bool>> curve;  ///< class, left
  std::set<std::string> tipi;            ///< named kinds of records seen

  void aggiungi(const ScenarioDecompilato& s) {
    for (const RecordCurva& c : s.curve) curve.insert({c.classe, c.sinistra});
    for (const RecordMontagna& m : s.montagne) {
      tipi.insert(m.separatore ? "separator" : m.tipo > 10 ? "marked section" : "section");
    }
    for (const RecordStazione& z : s.stazioni) {
      tipi.insert(z.tipo == 5 || z.tipo == 6   ? "short station"
                  : z.tipo == 7 || z.tipo == 8 ? "symmetric station"
                  : z.tipo < 25                ? "ordinary station"
                                               : "station without marks");
      if (z.flag3 != 0) tipi.insert("station with flag3");
    }
    for (const RecordRallentamento& r : s.rallentamenti) {
      tipi.insert(r.f_ta != 0 ? "slowdown with warning cells" : "slowdown");
    }
    for (const RecordSegnale& g : s.segnali) {
      tipi.insert(g.sx == 2 && g.tempo != 0 ? "signal with time" : "signal");
    }
    for (const RecordAbbattimento& a : s.abbattimenti) {
      tipi.insert(a.valore == 0     ? "code cell without value"
                  : a.valore == 180 ? "code cell of 180"
                                    : "code cell");
    }
    if (!s.indicatori.empty()) tipi.insert("speed boards");
    if (!s.cartelli.empty()) tipi.insert("sign boards");
    if (!s.con_linea) tipi.insert("no line file");
  }
};

// The property the decompiler stands on: for any script that compiles
// cleanly, its files decompile into scripts that compile to the same bytes.
TEST(DecompileRandom, CleanScenariosGiveBackTheSameBytes) {
  constexpr std::uint32_t kScenari = 300;
  std::uint32_t pulite = 0;
  Copertura copertura;
  for (std::uint32_t seme = 1; seme <= kScenari; ++seme) {
    SCOPED_TRACE("seed " + std::to_string(seme));
    SorgenteSeme sorgente(seme);
    const ScenarioCasuale s = scenario_casuale(sorgente);
    const CompilazioneInMemoria originale =
        compila_in_memoria(kPercorso, kTreno, s.linea, s.treno, s.con_linea);
    if (!originale.pulita()) continue;
    ++pulite;

    const Decompilazione d = decompila(decodifica(originale.file), kPercorso, kTreno);
    for (const std::string& n : d.inesprimibili) ADD_FAILURE() << "cannot express: " << n;
    const std::string linea = testo_script_linea(d.scenario, {});
    const std::string treno = testo_script_treno(d.scenario, {});
    const CompilazioneInMemoria ricompilata =
        compila_in_memoria(kPercorso, kTreno, linea, treno, s.con_linea);
    EXPECT_TRUE(ricompilata.pulita()) << "code " << ricompilata.codice_errore;
    const std::optional<Differenza> x = prima_differenza(originale.file, ricompilata.file);
    EXPECT_FALSE(x) << "byte " << x->offset << ": " << x->dove << "\n--- original\n"
                    << s.linea << s.treno << "--- decompiled\n"
                    << linea << treno;
    if (::testing::Test::HasFailure()) break;
    copertura.aggiungi(d.scenario);
  }
  // About three in four of the builder's scenarios compile cleanly (232 of
  // these 300); the rest record a code, which is no round trip to test.
  EXPECT_GE(pulite, kScenari * 3 / 4) << "too few random scenarios compile cleanly";
  EXPECT_EQ(copertura.curve.size(), 12u) << "curves of every class to both sides";
  for (const char* tipo :
       {"separator", "marked section", "section", "short station", "symmetric station",
        "ordinary station", "station without marks", "station with flag3",
        "slowdown with warning cells", "slowdown", "signal with time", "signal",
        "code cell without value", "code cell of 180", "code cell", "speed boards", "sign boards",
        "no line file"}) {
    EXPECT_EQ(copertura.tipi.count(tipo), 1u) << tipo;
  }
}

// No record reaches the last two cells, so a code cell there is the
// signal-code pass's. Here a slowdown of no length walks codes every 8 cells
// to the end of the array; the record of 180 at cell 173 moves the walk's
// code to 172 and so the last one to cell 180, the last cell. Taking cell
// 172 for the record instead explains every cell but the last.
TEST(DecompileCodeCells, NoRecordTakesTheLastCells) {
  const std::string linea = "[generale]\nLunghezza Percorso, 2000\n[fine]\n";
  const std::string treno =
      "[generale]\n[rallentamenti]\nrallentamento, 200, 10, 0, 0, 1, 0\n"
      "[codici]\nabbattimento, 8650, 180\n[fine]\n";
  const CompilazioneInMemoria originale = compila_in_memoria(kPercorso, kTreno, linea, treno, true);
  ASSERT_TRUE(originale.pulita());
  const FileDecodificati f = decodifica(originale.file);
  ASSERT_EQ(f.celle.size(), 181u);
  ASSERT_EQ(f.celle[180].tipo, tipo_cella::codice);

  const Decompilazione d = decompila(f, kPercorso, kTreno);
  EXPECT_TRUE(d.inesprimibili.empty());
  ASSERT_EQ(d.scenario.abbattimenti.size(), 1u);
  EXPECT_EQ(d.scenario.abbattimenti[0].posizione, 8650);
  EXPECT_EQ(d.scenario.abbattimenti[0].valore, 180);
  const CompilazioneInMemoria ricompilata =
      compila_in_memoria(kPercorso, kTreno, testo_script_linea(d.scenario, {}),
                         testo_script_treno(d.scenario, {}), true);
  EXPECT_TRUE(ricompilata.pulita()) << "code " << ricompilata.codice_errore;
  const std::optional<Differenza> x = prima_differenza(originale.file, ricompilata.file);
  EXPECT_FALSE(x) << "byte " << x->offset << ": " << x->dove;
}

// A code cell in the last two cells that the pass does not place cannot be
// given back: the decompiler says so rather than write a record the compiler
// refuses.
TEST(DecompileCodeCells, ACodeCellInTheLastCellsThePassDoesNotPlaceIsInexpressible) {
  const std::string linea = "[generale]\nLunghezza Percorso, 2000\n[fine]\n";
  const std::string treno = "[generale]\n[fine]\n";
  const CompilazioneInMemoria originale = compila_in_memoria(kPercorso, kTreno, linea, treno, true);
  ASSERT_TRUE(originale.pulita());
  for (const std::size_t cella : {std::size_t{179}, std::size_t{180}}) {
    SCOPED_TRACE("cell " + std::to_string(cella));
    FileDecodificati f = decodifica(originale.file);
    ASSERT_EQ(f.celle.size(), 181u);
    f.celle[cella].tipo = tipo_cella::codice;
    f.celle[cella].dato1 = 180;
    const Decompilazione d = decompila(f, kPercorso, kTreno);
    EXPECT_TRUE(d.scenario.abbattimenti.empty());
    ASSERT_EQ(d.inesprimibili.size(), 1u);
    EXPECT_NE(d.inesprimibili[0].find("cell " + std::to_string(cella) + ": a code cell"),
              std::string::npos)
        << d.inesprimibili[0];
  }
}

}  // namespace
}  // namespace scenario
