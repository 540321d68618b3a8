// The script reader: reads the line script and the train script back into
// the compile state and deletes them.
#ifndef SCENARIO_COMPILER_SCRIPT_READER_H_
#define SCENARIO_COMPILER_SCRIPT_READER_H_

#include <string>

#include "base/file_system.h"
#include "compiler/compile_state.h"

namespace scenario {

/// Reads "ROUTE_linea.txt" and then "ROUTE_TRAIN-.txt" from `cartella`,
/// fills `stato` and deletes both scripts. A fault is recorded in
/// `codice_errore` (with `posizione_errore` where a position goes with it);
/// a read failure deletes both scripts and records 25.
void memorizza_dati(StatoCompilazione& stato, FileSystem& fs, const std::string& cartella);

/// Highest route length accepted, in metres; also the last row the line
/// geometry may reach.
inline constexpr std::int32_t kLunghezzaMassima = 1000000;

/// Metres a record's position must leave before the last cell begins.
inline constexpr std::int32_t kMargineRecord = 100;
/// The same for a station, whose marks lie beyond its position.
inline constexpr std::int32_t kMargineStazione = 800;

/// True when route position `p` lies inside the cell array: p >= 0 and
/// (p + `margine`) / 50 does not exceed the upper bound of `celle`.
bool dentro_celle(const StatoCompilazione& stato, std::int64_t p,
                  std::int32_t margine = kMargineRecord);

}  // namespace scenario

#endif  // SCENARIO_COMPILER_SCRIPT_READER_H_
