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
/// the command is used).
int esegui_comando(const std::vector<std::string>& argomenti, FileSystem& fs, std::ostream& out,
                   std::ostream& err);

/// The same on the real file system.
int esegui_comando(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err);

/// Runs `scenario_tool` with its command line; returns the exit status.
int esegui_strumento(int argc, char** argv);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_TOOL_H_
