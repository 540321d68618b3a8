// `scenario_tool render`: the compiled scenario drawn as one SVG page.
#ifndef SCENARIO_TOOLS_RENDER_COMMAND_H_
#define SCENARIO_TOOLS_RENDER_COMMAND_H_

#include <ostream>

#include "base/file_system.h"
#include "tools/command_line.h"

namespace scenario {

/// Reads the binary files of ROUTE / TRAIN in DIR (the three operands of
/// `riga`) and writes the drawing. Returns the exit status: 0 drawn, 2 for
/// wrong usage, a file that cannot be read or written, or a malformed file.
int comando_render(const RigaComando& riga, FileSystem& fs, std::ostream& out, std::ostream& err);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_RENDER_COMMAND_H_
