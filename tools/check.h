// The check of a scenario's two scripts: every error the compile would
// meet, one compile after another, and every warning, each pointed at the
// record and field it concerns. Works on texts in memory and never touches
// the disk.
#ifndef SCENARIO_TOOLS_CHECK_H_
#define SCENARIO_TOOLS_CHECK_H_

#include <cstddef>
#include <string>
#include <vector>

#include "tools/diagnostic.h"

namespace scenario {

/// A script to check: the name its diagnostics give it, and its bytes.
struct ScriptDaControllare {
  std::string file;
  std::string testo;
};

/// What the check reports.
struct OpzioniControllo {
  std::vector<std::string> avvisi_spenti;  ///< names of the warnings not to give
  std::size_t limite_errori = 20;          ///< errors shown at most; 0 shows all
};

/// What the check found.
struct EsitoControllo {
  /// The diagnostics shown, the line script's first, each script's in the
  /// order of line and column.
  std::vector<Diagnostica> diagnostiche;
  std::size_t errori = 0;               ///< errors found, shown or not
  std::size_t avvisi = 0;               ///< warnings shown
  std::size_t errori_non_mostrati = 0;  ///< errors found beyond the limit
  /// False when the search stopped at its own limit of compiles, so that
  /// more errors may follow.
  bool completo = true;
};

/// Checks the line script and the train script of route `nome_percorso`
/// and train `numero_treno`. An error the compile stops at is reported and
/// its record taken out, and the compile runs again, until it meets no
/// more errors.
EsitoControllo controlla_scenario(const std::string& nome_percorso, const std::string& numero_treno,
                                  const ScriptDaControllare& linea,
                                  const ScriptDaControllare& treno,
                                  const OpzioniControllo& opzioni);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_CHECK_H_
