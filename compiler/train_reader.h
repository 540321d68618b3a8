// The train stage of the script reader.
#ifndef SCENARIO_COMPILER_TRAIN_READER_H_
#define SCENARIO_COMPILER_TRAIN_READER_H_

#include <cstdint>
#include <string>

#include "base/file_system.h"
#include "compiler/compile_state.h"

namespace scenario {

/// How a stage of the reader ended.
enum class FineStadio {
  normale,     ///< read to its end (or stopped by code 15): go on
  uscita,      ///< a coded fault ended the whole reading
  fallimento,  ///< a read failure: the caller records 25 and deletes both scripts
};

/// Reads the train script `percorso` into `stato`, deletes it, fills the
/// speed and adhesion profiles and tests the chainage values.
/// `indice_cartello` is the entry below which the indicator board texts lie.
FineStadio leggi_script_treno(StatoCompilazione& stato, FileSystem& fs, const std::string& percorso,
                              std::int32_t indice_cartello);

}  // namespace scenario

#endif  // SCENARIO_COMPILER_TRAIN_READER_H_
