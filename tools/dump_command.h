// `scenario_tool dump`: the contents of a line, parameter or cell file,
// every field named, with the check codes verified.
#ifndef SCENARIO_TOOLS_DUMP_COMMAND_H_
#define SCENARIO_TOOLS_DUMP_COMMAND_H_

#include <ostream>
#include <string>
#include <vector>

namespace scenario {

/// The usage text of the command.
extern const char* const kUsoDump;

/// Decodes FILE and prints it as text or JSON. Returns the exit status: 0
/// decoded, 1 decoded but a check code does not match, 2 wrong usage, a
/// file that cannot be read, or a malformed file (the message names the
/// byte offset).
int comando_dump(const std::vector<std::string>& argomenti, std::ostream& out, std::ostream& err);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_DUMP_COMMAND_H_
