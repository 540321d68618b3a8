// The authors' command-line tool: its commands and their dispatch.
#ifndef SCENARIO_TOOLS_TOOL_H_
#define SCENARIO_TOOLS_TOOL_H_

#include <ostream>
#include <string>
#include <vector>

#include "base/file_system.h"

namespace scenario {

/// The version the tool reports.
extern const char* const kVersioneStrumento;

/// Runs the tool on the words after the program name, reaching files
/// through `fs` and printing to `out` and `err`; returns the exit status
/// (2 for wrong usage, with one line on `err` saying what is wrong and how
/// the command is used). Output that `out` fails to take is an error of
/// its own: "scenario_tool COMMAND: cannot write standard output: REASON"
/// on `err`, status 2.
int esegui_comando(const std::vector<std::string>& argomenti, FileSystem& fs, std::ostream& out,
                   std::ostream& err);

/// The same on the real file system.
int esegui_comando(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err);

/// Runs `scenario_tool` with its command line; returns the exit status.
/// A file-size limit fails a write instead of killing the process, and
/// running out of memory ends the run with "scenario_tool: out of memory"
/// and status 2 once whatever the run made (temporaries, its scratch
/// folder) has been removed.
int esegui_strumento(int argc, char** argv);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_TOOL_H_
