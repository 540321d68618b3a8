// Compiles two script texts through the project's own compiler without
// touching the disk, and hands back the bytes of the binary files.
#ifndef SCENARIO_TOOLS_MEMORY_COMPILE_H_
#define SCENARIO_TOOLS_MEMORY_COMPILE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/compile_driver.h"
#include "compiler/compile_state.h"

namespace scenario {

/// The bytes of a scenario's three binary files.
struct BytesScenario {
  bool con_linea = false;  ///< the line file exists
  std::string linea;       ///< the line file, when `con_linea`
  std::string parametri;
  std::string celle;
};

/// What a compile of script texts produced.
struct CompilazioneInMemoria {
  Esito esito = Esito::scritto;
  std::int32_t codice_errore = 0;
  std::int32_t posizione_errore = 0;
  std::vector<Diagnosi> diagnosi;  ///< every code recorded, in order
  BytesScenario file;              ///< the files written (none unless `esito` is scritto)

  /// True when the files were written and no code was recorded.
  bool pulita() const { return esito == Esito::scritto && diagnosi.empty(); }
};

/// Compiles `linea` and `treno` as the scripts of `nome_percorso` /
/// `numero_treno`, building the line geometry and its file only with
/// `con_linea`, exactly as a compile from disk would.
CompilazioneInMemoria compila_in_memoria(const std::string& nome_percorso,
                                         const std::string& numero_treno, const std::string& linea,
                                         const std::string& treno, bool con_linea);

/// Compiles as `compila_in_memoria` does, but compares each binary file
/// with `attesi` while it is written instead of keeping it (the files of
/// the result stay empty): `*identici` tells whether every file came out
/// exactly as in `attesi`, the line file included when there is one. This
/// spares holding a second copy of the megabytes of a line file.
CompilazioneInMemoria compila_e_confronta(const std::string& nome_percorso,
                                          const std::string& numero_treno, const std::string& linea,
                                          const std::string& treno, const BytesScenario& attesi,
                                          bool* identici);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_MEMORY_COMPILE_H_
