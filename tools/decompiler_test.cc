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
  EXPECT_GE(pulite, kScenari * 8 / 10) << "too few random scenarios compile cleanly";
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

}  // namespace
}  // namespace scenario
