// `scenario_tool dump`: the contents of a line, parameter or cell file,
// every field named, with the check codes verified.
#ifndef SCENARIO_TOOLS_DUMP_COMMAND_H_
#define SCENARIO_TOOLS_DUMP_COMMAND_H_

#include <ostream>

#include "base/file_system.h"
#include "tools/command_line.h"

namespace scenario {

/// Decodes FILE (the operand of `riga`) and prints it as text or JSON.
/// Returns the exit status: 0 decoded, 1 decoded but a check code does not
/// match, 2 a file that cannot be read or told apart, or a malformed file
/// (the message names the byte offset).
int comando_dump(const RigaComando& riga, FileSystem& fs, std::ostream& out, std::ostream& err);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_DUMP_COMMAND_H_
