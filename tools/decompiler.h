// The decompiler: from the three binary files of a scenario back to the
// records of its two scripts.
#ifndef SCENARIO_TOOLS_DECOMPILER_H_
#define SCENARIO_TOOLS_DECOMPILER_H_

#include <string>
#include <vector>

#include "output/cell_file.h"
#include "output/line_file.h"
#include "output/parameter_file.h"
#include "tools/decompiled_scenario.h"

namespace scenario {

/// The binary files of a scenario, decoded.
struct FileDecodificati {
  bool con_linea = false;  ///< there is a line file
  TabellaLinea linea;      ///< the line geometry, when `con_linea`
  Parametri parametri;
  std::vector<Cella> celle;
};

/// What the decompiler recovered.
struct Decompilazione {
  ScenarioDecompilato scenario;
  /// What the files hold that no script can give, one sentence each.
  std::vector<std::string> inesprimibili;
};

/// Recovers every record of both scripts from `file`, the scenario being
/// `nome_percorso` / `numero_treno`. Where several records give the same
/// bytes the simplest is chosen: positions on the 50 m cells, speeds and
/// data words split as tens and units, each profile record only where the
/// value changes (and one at 0). What the compiler derives by itself
/// (approach marks, station end marks, the code cells of the post-pass,
/// the markers and check codes of cell 1 and entry 85) gives no record; the
/// post-pass's code cells are told from those of "abbattimento" records by
/// running the post-pass again. The result is not checked here: compile its
/// scripts and compare the files for that.
Decompilazione decompila(const FileDecodificati& file, const std::string& nome_percorso,
                         const std::string& numero_treno);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_DECOMPILER_H_
