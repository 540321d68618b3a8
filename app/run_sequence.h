// The program's whole job, as the start-up handler runs it.
#ifndef SCENARIO_APP_RUN_SEQUENCE_H_
#define SCENARIO_APP_RUN_SEQUENCE_H_

#include <string>

#include "app/user_interface.h"
#include "base/file_system.h"

namespace scenario {

/// Runs the start-up sequence in `cartella`: shows the window, locks the
/// folder (waiting for another run there), writes the two scripts and the
/// three crew documents, compiles with the line file, and closes the window.
/// Returns the exit status: 0 after a compile (recorded codes are printed on
/// standard error), 2 when a file step failed, with the scripts removed.
/// Codes 1250 / 1251 and a compile without cells end the program through
/// `errore`. An exception (std::bad_alloc) leaves no script or temporary
/// file behind.
int avvia(FileSystem& fs, const std::string& cartella, Interfaccia& interfaccia);

}  // namespace scenario

#endif  // SCENARIO_APP_RUN_SEQUENCE_H_
