// The compile driver: reset, read, post-pass, fix-ups, check codes, files.
#ifndef SCENARIO_COMPILER_COMPILE_DRIVER_H_
#define SCENARIO_COMPILER_COMPILE_DRIVER_H_

#include <cstdint>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "compiler/compile_state.h"

namespace scenario {

/// How a compile ended.
enum class Esito {
  scritto,            ///< the binary files were written (codes may be recorded)
  errore_1250,        ///< cell 1 or entry 85 already held a first value: nothing written
  errore_1251,        ///< cell 1 or entry 85 already held a check code: nothing written
  senza_celle,        ///< the reader left no cell array: nothing written
  scrittura_fallita,  ///< a file step failed while writing
};

/// What a compile produced.
struct RisultatoCompilazione {
  Esito esito = Esito::scritto;
  std::vector<std::string> scritti;  ///< names of the files written, in order
  std::string errore_scrittura;      ///< the failing file step, when there is one
};

/// Where a compile reads its scripts and writes its files.
struct Cartelle {
  std::string script;  ///< folder of the line and train scripts
  std::string uscita;  ///< folder that receives the binary files
};

/// The code a compile that wrote nothing ends with, as `errore` shows it:
/// 1250 or 1251, or the code the reader recorded when it left no cell array.
/// 0 when the compile wrote its files or a file step failed.
std::int32_t codice_fatale(const RisultatoCompilazione& risultato, const StatoCompilazione& stato);

/// Compiles the scripts of `stato.nome_percorso` / `stato.numero_treno`:
/// resets the parameters and `codice_errore`, reads and deletes both
/// scripts, places the code cells, fixes the markers of cell 1 and entry 85,
/// stores the check codes and writes the binary files (the line file, and
/// the line geometry it holds, only with `crea_linea`). The caller decides
/// what to show of a compile that wrote nothing (`codice_fatale`).
RisultatoCompilazione memorizza_percorso(StatoCompilazione& stato, bool crea_linea, FileSystem& fs,
                                         const Cartelle& cartelle);

}  // namespace scenario

#endif  // SCENARIO_COMPILER_COMPILE_DRIVER_H_
