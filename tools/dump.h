// The decoder of the three binary scenario files. It takes arbitrary bytes:
// every read is bounds-checked, every allocation is bounded by the input's
// size, and a malformed file gives an error naming the byte offset.
#ifndef SCENARIO_TOOLS_DUMP_H_
#define SCENARIO_TOOLS_DUMP_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compile_state.h"
#include "output/scenario_files.h"

namespace scenario {

/// Check code og of a scenario identity (route identifier and train number
/// as entries 85 and 86 carry them).
std::int16_t og_atteso(const std::string& nome_percorso, const std::string& numero_treno);
/// Check code st of the same identity.
std::int32_t st_atteso(const std::string& nome_percorso, const std::string& numero_treno);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_DUMP_H_
