// Fuzzes the decompiler, two ways chosen by bit 0 of the first byte:
//  - 0: the other bytes drive the random scenario builder; a scenario that
//    compiles cleanly must decompile into scripts that compile cleanly to
//    the same bytes, with nothing reported as inexpressible;
//  - 1: the other bytes are a cell file, put beside the parameter file of a
//    small clean scenario; whatever the cells hold, the decompiler and the
//    check of its scripts must finish without a fault, and comparing the
//    files while they are written must agree with comparing them kept.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/decompiler.h"
#include "tools/file_difference.h"
#include "tools/memory_compile.h"
#include "tools/script_writer.h"
#include "tools/testing/random_scenario.h"

namespace {

using namespace scenario;

constexpr const char* kPercorso = "Prova";
constexpr const char* kTreno = "1";

/// Stops the run with a message: a broken property is a finding.
[[noreturn]] void difetto(const std::string& cosa) {
  std::fprintf(stderr, "decompile_fuzzer: %s\n", cosa.c_str());
  std::abort();
}

/// Decompiles `file`, compiles the scripts and compares; the first
/// difference, or nullopt.
std::optional<Differenza> ritorno(const BytesScenario& file, Decompilazione* d,
                                  CompilazioneInMemoria* ricompilata) {
  FileDecodificati f;
  ErroreDecodifica err;
  f.con_linea = file.con_linea;
  if ((file.con_linea && !decodifica_linea(file.linea, &f.linea, &err)) ||
      !decodifica_parametri(file.parametri, &f.parametri, &err) ||
      !decodifica_celle(file.celle, &f.celle, &err)) {
    return Differenza{TipoFile::sconosciuto, err.offset, err.messaggio};
  }
  *d = decompila(f, kPercorso, kTreno);
  const std::string linea = testo_script_linea(d->scenario, {});
  const std::string treno = testo_script_treno(d->scenario, {});
  *ricompilata = compila_in_memoria(kPercorso, kTreno, linea, treno, file.con_linea);
  std::optional<Differenza> x = prima_differenza(file, ricompilata->file);
  // Comparing while the compile writes must tell the same.
  bool identici = false;
  compila_e_confronta(kPercorso, kTreno, linea, treno, file, &identici);
  if (identici != (ricompilata->esito == Esito::scritto && !x)) {
    difetto("comparing while writing and comparing the files disagree");
  }
  return x;
}

void scenario_pulito(const std::uint8_t* data, std::size_t size) {
  SorgenteByte sorgente(data, size);
  const ScenarioCasuale s = scenario_casuale(sorgente);
  const CompilazioneInMemoria originale =
      compila_in_memoria(kPercorso, kTreno, s.linea, s.treno, s.con_linea);
  if (!originale.pulita()) return;
  Decompilazione d;
  CompilazioneInMemoria ricompilata;
  if (const auto x = ritorno(originale.file, &d, &ricompilata)) {
    difetto("a clean scenario does not come back: byte " + std::to_string(x->offset) + ", " +
            x->dove);
  }
  if (!ricompilata.pulita()) difetto("the decompiled scripts record a code");
  if (!d.inesprimibili.empty()) difetto("a clean scenario has inexpressible parts");
}

void celle_qualsiasi(const std::uint8_t* data, std::size_t size) {
  static const BytesScenario base = [] {
    SorgenteSeme sorgente(1);
    ScenarioCasuale s = scenario_casuale(sorgente);
    return compila_in_memoria(kPercorso, kTreno, s.linea, s.treno, false).file;
  }();
  BytesScenario file = base;
  file.celle.assign(reinterpret_cast<const char*>(data), size);
  Decompilazione d;
  CompilazioneInMemoria ricompilata;
  ritorno(file, &d, &ricompilata);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  if ((data[0] & 1) == 0) {
    scenario_pulito(data + 1, size - 1);
  } else {
    celle_qualsiasi(data + 1, size - 1);
  }
  return 0;
}
