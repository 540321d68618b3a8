// The signal-code post-pass: code cells around slowdowns and before the
// signals near them.
#ifndef SCENARIO_COMPILER_SIGNAL_CODES_H_
#define SCENARIO_COMPILER_SIGNAL_CODES_H_

#include <cstdint>

#include "compiler/compile_state.h"

namespace scenario {

/// The code value the post-pass writes into the code cells it places.
inline constexpr std::int16_t kValoreCodice = 180;

/// The smaller of two values: `y` when `x` > `y`, else `x`.
std::int32_t minimo(std::int32_t x, std::int32_t y);

/// Walks cells 1 to `numero_celle` - 2 and places code cells (`tipo` 12,
/// `dato1` 180) before the signals within 20 cells before a slowdown
/// warning board, at three look-back groups before every slowdown start,
/// every 8 cells inside slowdowns under 110 km/h, and before the first
/// signal within 12 cells after a slowdown's end. Records 11, 12 and 13 where
/// no cell is free and goes on. No walk passes the last cell.
void piazza_codici(StatoCompilazione& stato);

}  // namespace scenario

#endif  // SCENARIO_COMPILER_SIGNAL_CODES_H_
