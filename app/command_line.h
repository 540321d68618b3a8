// genera_scenario's command line: no argument is the built-in run; --help
// and --version answer and end the program without writing a file.
#ifndef SCENARIO_APP_COMMAND_LINE_H_
#define SCENARIO_APP_COMMAND_LINE_H_

#include <cstdio>
#include <optional>

namespace scenario {

/// The version genera_scenario reports.
extern const char* const kVersioneProgramma;

/// Answers a command line that asks for something other than the built-in
/// run (`argc` and `argv` as main gets them): prints the usage or the version
/// on `out` and returns 0 (1, with the reason on `err`, when `out` cannot
/// take it), or prints one line naming what is wrong on `err` and returns 2.
/// Returns nothing, and prints nothing, when there is no argument: the caller
/// then runs the program.
std::optional<int> rispondi_a_riga_di_comando(int argc, const char* const* argv, std::FILE* out,
                                              std::FILE* err);

}  // namespace scenario

#endif  // SCENARIO_APP_COMMAND_LINE_H_
