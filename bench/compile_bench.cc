// Benchmarks of the compile and of the binary writers, run in memory so
// that they measure the program's own work and not the disk.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <utility>

#include "base/file_names.h"
#include "base/memory_file_system.h"
#include "bench/dense_scripts.h"
#include "compiler/compile_driver.h"
#include "compiler/compile_state.h"
#include "output/scenario_files.h"
#include "scripts/builtin_scripts.h"
#include "tools/decompile_command.h"

namespace scenario {

namespace {

/// The in-memory folder every benchmark reads and writes.
constexpr const char* kCartella = "/m";

/// A compile's input: route, train and the texts of both scripts.
struct Ingresso {
  std::string percorso;
  std::string treno;
  std::string linea;
  std::string script_treno;
};

/// The built-in scripts, as the run sequence writes them.
Ingresso ingresso_incorporato() {
  MemoryFileSystem fs;
  Ingresso in{kNomePercorso, kNumeroTreno, "", ""};
  std::string err;
  dati_linea(fs, kCartella, in.percorso, &err);
  dati_treno(fs, kCartella, in.percorso, in.treno, &err);
  in.linea = fs.files()[percorso_in(kCartella, nome_script_linea(in.percorso))];
  in.script_treno = fs.files()[percorso_in(kCartella, nome_script_treno(in.percorso, in.treno))];
  return in;
}

/// Generated scripts of a route `lunghezza` metres long.
Ingresso ingresso_denso(std::int32_t lunghezza) {
  ScriptDensi s = script_densi(lunghezza);
  return {"Denso", "1", std::move(s.linea), std::move(s.treno)};
}

/// Puts both scripts into `fs`, as they stand before a compile.
void prepara(MemoryFileSystem& fs, const Ingresso& in) {
  fs.files()[percorso_in(kCartella, nome_script_linea(in.percorso))] = in.linea;
  fs.files()[percorso_in(kCartella, nome_script_treno(in.percorso, in.treno))] = in.script_treno;
}

/// One full compile of `in` in `fs`, binary files included.
bool compila(MemoryFileSystem& fs, const Ingresso& in, StatoCompilazione* stato) {
  stato->nome_percorso = in.percorso;
  stato->numero_treno = in.treno;
  const RisultatoCompilazione r = memorizza_percorso(*stato, true, fs, {kCartella, kCartella});
  return r.esito == Esito::scritto && stato->codice_errore == 0;
}

/// Times whole compiles of `in`; setting the scripts up is not timed.
void misura_compilazione(benchmark::State& state, const Ingresso& in) {
  MemoryFileSystem fs;
  std::size_t scritti = 0;
  for (auto _ : state) {
    state.PauseTiming();
    prepara(fs, in);
    StatoCompilazione stato;
    state.ResumeTiming();
    if (!compila(fs, in, &stato)) {
      state.SkipWithError("the compile recorded an error");
      return;
    }
    benchmark::DoNotOptimize(stato.celle.data());
    state.PauseTiming();
    scritti = 0;
    for (const auto& [nome, bytes] : fs.files()) scritti += bytes.size();
    fs.files().clear();
    state.ResumeTiming();
  }
  state.counters["bytes_written"] = static_cast<double>(scritti);
}

void BM_CompilaIncorporato(benchmark::State& state) {
  misura_compilazione(state, ingresso_incorporato());
}
BENCHMARK(BM_CompilaIncorporato)->Unit(benchmark::kMillisecond);

void BM_CompilaDenso(benchmark::State& state) {
  const Ingresso in = ingresso_denso(static_cast<std::int32_t>(state.range(0)));
  misura_compilazione(state, in);
  state.counters["metres"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_CompilaDenso)->Arg(100000)->Arg(300000)->Arg(1000000)->Unit(benchmark::kMillisecond);

/// The compile state of the built-in scenario, compiled once.
const StatoCompilazione& stato_incorporato() {
  static const StatoCompilazione stato = [] {
    const Ingresso in = ingresso_incorporato();
    MemoryFileSystem fs;
    prepara(fs, in);
    StatoCompilazione s;
    compila(fs, in, &s);
    return s;
  }();
  return stato;
}

void BM_SerializzaLinea(benchmark::State& state) {
  const StatoCompilazione& stato = stato_incorporato();
  std::size_t n = 0;
  for (auto _ : state) {
    const std::string bytes = serializza_linea(stato.tabella_linea);
    n = bytes.size();
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * n));
}
BENCHMARK(BM_SerializzaLinea)->Unit(benchmark::kMicrosecond);

void BM_SerializzaParametri(benchmark::State& state) {
  const StatoCompilazione& stato = stato_incorporato();
  std::size_t n = 0;
  for (auto _ : state) {
    const std::string bytes = serializza_parametri(stato.parametri);
    n = bytes.size();
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * n));
}
BENCHMARK(BM_SerializzaParametri)->Unit(benchmark::kMicrosecond);

void BM_SerializzaCelle(benchmark::State& state) {
  const StatoCompilazione& stato = stato_incorporato();
  std::size_t n = 0;
  for (auto _ : state) {
    const std::string bytes = serializza_celle(stato.celle);
    n = bytes.size();
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * n));
}
BENCHMARK(BM_SerializzaCelle)->Unit(benchmark::kMicrosecond);

/// Times `scenario_tool decompile` of the files that `in` compiles to: the
/// reading and decoding of the three files, the recovery of both scripts,
/// their check by a compile in memory and the writing of the scripts.
void misura_decompile(benchmark::State& state, const Ingresso& in) {
  MemoryFileSystem compilati;
  prepara(compilati, in);
  StatoCompilazione stato;
  if (!compila(compilati, in, &stato)) {
    state.SkipWithError("the compile recorded an error");
    return;
  }
  const OpzioniDecompile opzioni{kCartella, in.percorso, in.treno, "", false, false};
  for (auto _ : state) {
    state.PauseTiming();
    MemoryFileSystem fs;
    fs.files() = compilati.files();
    std::ostringstream out, err;
    state.ResumeTiming();
    if (decompila_scenario(opzioni, fs, out, err) != 0) {
      state.SkipWithError(("the decompile failed: " + err.str()).c_str());
      return;
    }
  }
}

void BM_DecompilaIncorporato(benchmark::State& state) {
  misura_decompile(state, ingresso_incorporato());
}
BENCHMARK(BM_DecompilaIncorporato)->Unit(benchmark::kMillisecond);

void BM_DecompilaDenso(benchmark::State& state) {
  misura_decompile(state, ingresso_denso(static_cast<std::int32_t>(state.range(0))));
  state.counters["metres"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_DecompilaDenso)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace scenario

BENCHMARK_MAIN();
