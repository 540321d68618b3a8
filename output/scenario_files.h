// The three binary scenario files: their byte layouts and their writing.
#ifndef SCENARIO_OUTPUT_SCENARIO_FILES_H_
#define SCENARIO_OUTPUT_SCENARIO_FILES_H_

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/file_system.h"
#include "compiler/compile_state.h"

namespace scenario {

/// Size of one cell record on disk.
inline constexpr std::size_t kDimensioneCella = 15;
/// Size of one parameter record on disk, without the characters of its text.
inline constexpr std::size_t kDimensioneParametro = 34;

/// Bytes of the line file: coordinate 0 for every metre, then coordinate 1;
/// each element a 16-bit tag (0 empty, 2 Integer, 5 Double) and its value.
std::string serializza_linea(const TabellaLinea& tabella);
/// The same bytes as ranges to be written one after the other: mostly views
/// of the table's own slots (runs of doubles are one range each); when the
/// geometry has too many gaps for that, one range of `*riserva`, which then
/// holds the whole file.
std::vector<std::string_view> parti_linea(const TabellaLinea& tabella, std::string* riserva);
/// Bytes of the parameter file: the 87 records in order, field by field.
std::string serializza_parametri(const std::array<Parametro, voce::numero_voci>& parametri);
/// Bytes of the cell file: one 15-byte record per cell.
std::string serializza_celle(const std::vector<Cella>& celle);

/// Writes the line file (only when `crea_linea` is non-zero), the parameter
/// file and the cell file into `cartella`, in that order, each replaced
/// whole. The names written are appended to `*scritti`. Stops at the first
/// failing file step with `*err` set.
bool scrivi_file_scenario(FileSystem& fs, const std::string& cartella,
                          const StatoCompilazione& stato, std::vector<std::string>* scritti,
                          std::string* err);

}  // namespace scenario

#endif  // SCENARIO_OUTPUT_SCENARIO_FILES_H_
