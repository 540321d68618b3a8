// Ordering of the three kilometric-progression (chainage) systems.
#ifndef SCENARIO_COMPILER_CHAINAGE_H_
#define SCENARIO_COMPILER_CHAINAGE_H_

#include "compiler/compile_state.h"

namespace scenario {

/// Puts the chainage triples of entries 81 to 83 in their fixed arrangement
/// (greatest `inizio` first, or by `fine` when the starts add up to 0) and
/// adds 100 to `fine` where `posizione` is 1, entry by entry. Returns false
/// at the first such `fine` that would not fit 32 bits, leaving it and the
/// entries after it as arranged (the caller treats it as a read failure).
bool progressive_ordina(StatoCompilazione& stato);

}  // namespace scenario

#endif  // SCENARIO_COMPILER_CHAINAGE_H_
