// Tells the code cells of "abbattimento" records from those the compiler's
// signal-code post-pass placed by itself.
#ifndef SCENARIO_TOOLS_CODE_CELL_RECOVERY_H_
#define SCENARIO_TOOLS_CODE_CELL_RECOVERY_H_

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "output/cell_file.h"

namespace scenario {

/// The last of `numero` cells an "abbattimento" record can take: the
/// compiler refuses a position within 100 m of the last cell, so a code
/// cell beyond it can only be the post-pass's.
std::int64_t ultima_cella_record(std::size_t numero);

/// The "abbattimento" records behind the code cells of `celle` (a compiled
/// cell array, the markers of cell 1 cleared): the cell of each and its
/// value (0 for a code cell without value).
///
/// A code cell without value, or with a value other than 180, is a record.
/// One with 180 may be a record or the post-pass's (always the post-pass's
/// past `ultima_cella_record`): the post-pass is run on
/// the cells without the code cells of 180, some of them put back as
/// records, and its result compared with `celle`. At the first code cell
/// where they differ the ways are tried that could explain it: that cell or
/// one just after it is a record, or one of the code cells shortly before
/// it is, which made the post-pass place its own elsewhere and go on
/// differently; a way that moves the first difference further on is
/// followed, a dead end is backed out of. When no way gives every code cell
/// (within a bounded number of tries) the records of the way that got
/// furthest are returned, and the check of the whole scenario tells; so are,
/// as records, the code cells of 180 past `ultima_cella_record` that the
/// post-pass does not place with them, which no script gives.
std::map<std::size_t, std::int32_t> recupera_abbattimenti(const std::vector<Cella>& celle);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_CODE_CELL_RECOVERY_H_
