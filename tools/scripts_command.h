// `scenario_tool scripts DIR`: the built-in scripts, written for an author
// to read, copy and change.
#ifndef SCENARIO_TOOLS_SCRIPTS_COMMAND_H_
#define SCENARIO_TOOLS_SCRIPTS_COMMAND_H_

#include <ostream>
#include <string>
#include <vector>

namespace scenario {

/// The usage text of the command.
extern const char* const kUsoScripts;

/// Writes the built-in line and train scripts into DIR (created when
/// missing) under their usual names. Returns the exit status: 0, or 2 for
/// wrong usage or a file that cannot be written.
int comando_scripts(const std::vector<std::string>& argomenti, std::ostream& out,
                    std::ostream& err);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_SCRIPTS_COMMAND_H_
