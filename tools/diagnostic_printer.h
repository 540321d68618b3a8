// The check's diagnostics as an author reads them (compiler style: place,
// severity, message, the source line with a caret under the field, notes)
// and as a JSON document for editors and scripts.
#ifndef SCENARIO_TOOLS_DIAGNOSTIC_PRINTER_H_
#define SCENARIO_TOOLS_DIAGNOSTIC_PRINTER_H_

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "tools/check.h"
#include "tools/diagnostic.h"

namespace scenario {

/// Writes one diagnostic: "FILE:LINE:COL: error: MESSAGE [CODE]" (warnings
/// "warning: MESSAGE [NAME]"), the source line, a caret line, then each
/// note the same way. Texts are converted from Windows-1252 to UTF-8.
void stampa_diagnostica(const Diagnostica& d, std::ostream& out);

/// Writes every diagnostic of `esito`, then how many errors were not shown
/// and the totals.
void stampa_esito(const EsitoControllo& esito, std::ostream& out);

/// The diagnostics as a JSON array of {file, line, column, end_column,
/// severity, code, name, message, notes: [{file, line, column, message}]};
/// texts in UTF-8, code null for a warning.
nlohmann::json json_diagnostiche(const std::vector<Diagnostica>& diagnostiche);

/// The whole result as one JSON document: {diagnostics, errors, warnings,
/// errors_not_shown, complete}.
std::string documento_json(const EsitoControllo& esito);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_DIAGNOSTIC_PRINTER_H_
