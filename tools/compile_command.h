// `scenario_tool compile`: compiles an author's scripts with the same
// compiler as the built-in run, and says where and why it stopped.
#ifndef SCENARIO_TOOLS_COMPILE_COMMAND_H_
#define SCENARIO_TOOLS_COMPILE_COMMAND_H_

#include <ostream>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "compiler/compile_driver.h"
#include "compiler/compile_state.h"
#include "tools/command_line.h"
#include "tools/diagnostic.h"

namespace scenario {

/// The line of standard error that reports one recorded code: the script
/// and line where the reader stopped (scripts named as they lie in
/// `cartella`), or "post-pass", then the code, its meaning and position.
std::string riga_diagnosi(const Diagnosi& d, const std::string& cartella,
                          const std::string& nome_percorso, const std::string& numero_treno);

/// The one-line JSON report of a finished compile, with the check's
/// `diagnostiche` as its "diagnostics" array.
std::string rapporto_json(const StatoCompilazione& stato, const RisultatoCompilazione& risultato,
                          const std::string& cartella,
                          const std::vector<Diagnostica>& diagnostiche);

/// Checks DIR/ROUTE_linea.txt and DIR/ROUTE_TRAIN-.txt (the three operands
/// of `riga`) as `check` does, printing its diagnostics, then compiles them
/// from a scratch copy (the author's files are never touched) and writes
/// the binary files into the output folder: only when the check found no
/// error, unless --partial. Returns the exit status: 0 clean, 1 when an
/// error was found or nothing could be written, 2 for wrong usage, a script
/// that cannot be read or a file step that failed.
int comando_compile(const RigaComando& riga, FileSystem& fs, std::ostream& out, std::ostream& err);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_COMPILE_COMMAND_H_
