// The two check codes that tie the compiled files to the scenario identity.
#ifndef SCENARIO_COMPILER_CHECK_CODES_H_
#define SCENARIO_COMPILER_CHECK_CODES_H_

#include <cstdint>
#include <string>

#include "compiler/compile_state.h"

namespace scenario {

/// Code og: the sum of the first 25 character codes of the padded identity
/// (train number, route identifier, lower-cased, then the padding alphabet).
/// Leaves the padded text in `stato.riga`.
std::int16_t codice_gara_og(StatoCompilazione& stato);

/// Code st: the sum of p × the p-th character code over the first 25
/// characters of the same padded text. Leaves the padded text in `stato.riga`.
std::int32_t codice_gara_st(StatoCompilazione& stato);

/// Code og of an identity given as entries 85 and 86 carry it.
std::int16_t codice_gara_og(const std::string& nome_percorso, const std::string& numero_treno);
/// Code st of an identity given as entries 85 and 86 carry it.
std::int32_t codice_gara_st(const std::string& nome_percorso, const std::string& numero_treno);

}  // namespace scenario

#endif  // SCENARIO_COMPILER_CHECK_CODES_H_
