// The element encoders: mountain sections, maximum-speed boards, signals and
// slowdowns placed on the cell array.
#ifndef SCENARIO_COMPILER_ENCODERS_H_
#define SCENARIO_COMPILER_ENCODERS_H_

#include <cstdint>

#include "compiler/compile_state.h"

namespace scenario {

/// Stores a mountain section and marks its cells. The caller has checked
/// that fewer than `kMassimoMontagne` sections are stored; cells outside the
/// array are skipped.
void memo_montagna(StatoCompilazione& stato, std::int32_t inizio, std::int32_t fine,
                   std::int32_t tipo);

/// Places a pair of maximum-speed boards in cell round(posizione / 50 + 1).
/// Returns 0 when placed, 21 (recorded) when the cell is not free, or 25
/// (not recorded: the caller's read-failure path) when a speed word does not
/// fit 16 bits; the cell then keeps `tipo` 6 and the words before that one.
std::int32_t memo_indicatori_v_max(StatoCompilazione& stato, std::int32_t posizione,
                                   std::int32_t vas, std::int32_t vbs, std::int32_t vcs,
                                   std::int32_t strisces, std::int32_t vad, std::int32_t vbd,
                                   std::int32_t vcd, std::int32_t strisced);

/// Places a signal in cell round(posizione / 50 + 1) with its four approach
/// markers before it (markers below cell 0 are skipped). Returns 0 when
/// placed, else 16 (recorded).
std::int32_t memo_segnale(StatoCompilazione& stato, std::int32_t posizione, std::int32_t sx,
                          std::int32_t s1, std::int32_t s2, std::int32_t s3, std::int32_t rapp,
                          std::int32_t dx, std::int32_t d1, std::int32_t d2, std::int32_t d3,
                          std::int32_t tempo);

/// Places a slowdown from `x`, `l` metres long at speed `v`: its warning
/// board (beyond 1500 m), start, end and, when `f_ta` is non-zero, the four
/// cells before the board. The caller has checked that `x` and `x` + `l` lie
/// inside the cell array. Returns 0 when placed, else 17 to 20 (recorded).
std::int32_t memo_rallentamento(StatoCompilazione& stato, std::int32_t x, std::int32_t v,
                                std::int32_t l, std::int32_t f_tt, std::int32_t f_ta,
                                std::int32_t d_v);

}  // namespace scenario

#endif  // SCENARIO_COMPILER_ENCODERS_H_
