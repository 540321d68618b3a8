// `scenario_tool explain`: what an error code means and how to fix it, and
// every field of a record; the same text makes the language reference
// docs/script-language.md.
#ifndef SCENARIO_TOOLS_EXPLAIN_COMMAND_H_
#define SCENARIO_TOOLS_EXPLAIN_COMMAND_H_

#include <ostream>
#include <string>

#include "compiler/error_codes.h"
#include "scripts/record_reference.h"

namespace scenario {

/// The section of one record: keyword, example, what it does, and a table
/// of its fields (name, unit, width, range, how it is stored).
std::string markdown_record(const RecordRiferimento& record);

/// The section of one error code: meaning, cause, fix and example.
std::string markdown_codice(const SpiegazioneCodice& spiegazione);

/// The whole language reference, as committed in docs/script-language.md.
std::string riferimento_markdown();

/// Explains `argomento`: an error code ("16"), a code's short name
/// ("signal-cell-taken") or a record keyword ("segnale", "curvas4", any
/// keyword field the readers would take for a record); "--markdown" prints
/// the whole reference. Returns the exit status: 0, or 2 for an argument
/// that names nothing, with a "did you mean" when one is close.
int spiega(const std::string& argomento, std::ostream& out, std::ostream& err);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_EXPLAIN_COMMAND_H_
