// `scenario_tool check`: checks an author's two scripts and reports every
// problem in one run, writing nothing. Also the same check for `compile`,
// which runs it before it writes.
#ifndef SCENARIO_TOOLS_CHECK_COMMAND_H_
#define SCENARIO_TOOLS_CHECK_COMMAND_H_

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "tools/check.h"

namespace scenario {

/// The options of `check`, as its command line gives them.
struct OpzioniCheck {
  std::string cartella;                    ///< DIR
  std::string percorso;                    ///< ROUTE
  std::string treno;                       ///< TRAIN
  bool json = false;                       ///< print the JSON document on standard output
  std::vector<std::string> avvisi_spenti;  ///< the --no-warn names
  std::size_t limite_errori = 20;          ///< errors shown at most; 0 shows all
};

/// Reads DIR/ROUTE_linea.txt and DIR/ROUTE_TRAIN-.txt through `fs` and
/// checks them, the diagnostics named after the scripts' paths. False with
/// `*err` naming the file and the system's reason when a script cannot be
/// read.
bool controlla_cartella(FileSystem& fs, const std::string& cartella, const std::string& percorso,
                        const std::string& treno, const OpzioniControllo& opzioni,
                        EsitoControllo* esito, std::string* err);

/// Runs `check`: the diagnostics as text on `err` (with `json`, the JSON
/// document on `out` instead). Returns the exit status: 0 without errors
/// (warnings allowed), 1 with errors, 2 for a wrong option or a script that
/// cannot be read.
int comando_check(const OpzioniCheck& opzioni, FileSystem& fs, std::ostream& out,
                  std::ostream& err);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_CHECK_COMMAND_H_
