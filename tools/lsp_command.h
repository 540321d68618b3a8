// `scenario_tool lsp`: the language server on standard input and output.
#ifndef SCENARIO_TOOLS_LSP_COMMAND_H_
#define SCENARIO_TOOLS_LSP_COMMAND_H_

#include <istream>
#include <ostream>

#include "base/file_system.h"

namespace scenario {

/// Serves the editor on `in` and `out` until it sends `exit` or closes
/// `in`, reading the scripts it has not open through `fs` (never writing);
/// logs to `err`. Returns the exit status: 0 after `shutdown` and `exit`,
/// 1 when the session ended without `shutdown`. Ignores SIGPIPE, so that an
/// editor that goes away ends the session instead of the process.
int comando_lsp(std::istream& in, std::ostream& out, std::ostream& err, FileSystem& fs);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_LSP_COMMAND_H_
