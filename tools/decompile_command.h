// `scenario_tool decompile`: from the binary files of a scenario back to the
// two scripts that compile to the same bytes.
#ifndef SCENARIO_TOOLS_DECOMPILE_COMMAND_H_
#define SCENARIO_TOOLS_DECOMPILE_COMMAND_H_

#include <ostream>
#include <string>

#include "base/file_system.h"

namespace scenario {

/// What one decompile is asked to do. ROUTE and TRAIN are checked by the
/// caller as for `compile`.
struct OpzioniDecompile {
  std::string dir;      ///< folder of the binary files
  std::string route;    ///< the route identifier
  std::string train;    ///< the train number
  std::string out_dir;  ///< folder that receives the scripts; "" for `dir`
  /// Replace existing scripts, and write the scripts even when they do not
  /// give the same bytes.
  bool force = false;
  bool json = false;  ///< print the summary as one line of JSON on `out`
};

/// Reads DIR/ROUTE_linea.dat (when there is one), DIR/ROUTE_TRAIN.sim and
/// DIR/ROUTE_TRAIN.dat, recovers the line and train scripts, compiles them
/// in memory (without the line geometry when there is no line file) and
/// compares the result with the files byte for byte; then writes
/// ROUTE_linea.txt and ROUTE_TRAIN-.txt into the output folder, which must
/// exist. A summary goes to `err` (and as JSON to `out`). Returns the exit
/// status: 0 the scripts give the same files and were written; 1 they do
/// not (the report names the file, its first differing byte and what could
/// not be expressed; the scripts are written only with `force`); 2 a file
/// that cannot be read, a malformed file (its byte offset named as `dump`
/// does), or a script that cannot be written or already exists without
/// `force`.
int decompila_scenario(const OpzioniDecompile& opzioni, FileSystem& fs, std::ostream& out,
                       std::ostream& err);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_DECOMPILE_COMMAND_H_
