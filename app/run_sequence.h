// The program's whole job, as the start-up handler runs it.
#ifndef SCENARIO_APP_RUN_SEQUENCE_H_
#define SCENARIO_APP_RUN_SEQUENCE_H_

#include <string>

#include "app/file_system.h"
#include "app/user_interface.h"

namespace scenario {

/// The built-in route identifier.
inline constexpr const char* kNomePercorso = "Zembrastina_Dervo";
/// The built-in train number.
inline constexpr const char* kNumeroTreno = "47716";

/// Runs the start-up sequence in `cartella`: shows the window, writes the two
/// scripts and the three crew documents, compiles with the line file, and
/// closes the window. Returns the exit status: 0 after a compile (recorded
/// codes are printed on standard error), 2 when a file step failed. Codes
/// 1250 / 1251 and a compile without cells end the program through `errore`.
int avvia(FileSystem& fs, const std::string& cartella, Interfaccia& interfaccia);

}  // namespace scenario

#endif  // SCENARIO_APP_RUN_SEQUENCE_H_
