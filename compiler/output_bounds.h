// What the files the compiler writes can look like: the most bytes each
// kind can have, and the shape every line and cell file it writes has, so
// that a reader can refuse a file no compile made before spending memory
// or time on it.
#ifndef SCENARIO_COMPILER_OUTPUT_BOUNDS_H_
#define SCENARIO_COMPILER_OUTPUT_BOUNDS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "compiler/script_reader.h"
#include "output/cell_file.h"
#include "output/line_file.h"
#include "output/scenario_files.h"

namespace scenario {

/// Rows of the line geometry of the shortest and of the longest route:
/// metres 0 to the length plus the extension.
inline constexpr std::int64_t kRigheLineaMinime = std::int64_t{kProlungamento} + 1;
inline constexpr std::int64_t kRigheLineaMassime =
    std::int64_t{kLunghezzaMassima} + kProlungamento + 1;

/// Cells of the shortest and of the longest route.
std::int64_t celle_minime();
std::int64_t celle_massime();

/// The most bytes a file of kind `tipo` can have as the compiler writes it:
/// a line file of the longest route all doubles, a parameter file with the
/// longest text in every entry, a cell file of the longest route. 0 for
/// `TipoFile::sconosciuto`.
std::uint64_t dimensione_massima(TipoFile tipo);

/// False, with `*err` naming `percorso`, its size and the largest a file of
/// kind `tipo` can be, when the file is larger than that; found without
/// reading it. A file whose size cannot be seen passes: reading it reports
/// why.
bool dimensione_ammessa(FileSystem& fs, const std::string& percorso, TipoFile tipo,
                        std::string* err);

/// Reads file `percorso` of kind `tipo` into `*bytes` when it is no larger
/// than `dimensione_ammessa` allows. False with `*err` naming the file and
/// what was wrong: its size, or the system's reason it cannot be read (a
/// FIFO or a device is never opened).
bool leggi_file_compilato(FileSystem& fs, const std::string& percorso, TipoFile tipo,
                          std::string* bytes, std::string* err);

/// Checks a decoded line file against the shape the compiler gives every
/// one: between `kRigheLineaMinime` and `kRigheLineaMassime` rows, integers
/// only in rows 0 and 1, and the last two rows empty (the geometry is never
/// computed there). False with the byte offset and what is wrong in `*err`.
bool linea_ammessa(const TabellaLinea& linea, ErroreDecodifica* err);

/// Checks the number of decoded cells against the shortest and the longest
/// route. False with the byte offset and what is wrong in `*err`.
bool celle_ammesse(const std::vector<Cella>& celle, ErroreDecodifica* err);

}  // namespace scenario

#endif  // SCENARIO_COMPILER_OUTPUT_BOUNDS_H_
