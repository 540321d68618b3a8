// `scenario_tool scripts DIR`: the built-in scripts, written for an author
// to read, copy and change.
#ifndef SCENARIO_TOOLS_SCRIPTS_COMMAND_H_
#define SCENARIO_TOOLS_SCRIPTS_COMMAND_H_

#include <ostream>

#include "base/file_system.h"
#include "tools/command_line.h"

namespace scenario {

/// Writes the built-in line and train scripts into DIR (created when
/// missing) under their usual names and prints their paths. Returns the
/// exit status: 0, or 2 for a folder or file that cannot be written.
int comando_scripts(const RigaComando& riga, FileSystem& fs, std::ostream& out, std::ostream& err);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_SCRIPTS_COMMAND_H_
