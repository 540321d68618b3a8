// Names the check borrows for its messages: the short name of each error
// code, the name of each record field and the usual spelling of each
// record keyword, all taken from the compiler's and the language
// reference's own tables.
#ifndef SCENARIO_TOOLS_CHECK_NAMES_H_
#define SCENARIO_TOOLS_CHECK_NAMES_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "scripts/script_outline.h"

namespace scenario {

/// Short kebab-case name of an error code ("signal-cell-taken"); "" for a
/// code the compiler never records.
std::string nome_breve_codice(std::int32_t codice);

/// The name of value field `indice` of record `tipo` as the language
/// reference gives it, in backticks ("`posizione`"); "" past the record's
/// fields.
std::string nome_campo(TipoRecord tipo, std::size_t indice);

/// The keyword as the built-in scripts spell it ("stazione", "lunghezza
/// percorso"); for curves "curvas4", the side and class being examples.
std::string parola_tipica(TipoRecord tipo);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_CHECK_NAMES_H_
