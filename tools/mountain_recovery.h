// Recovers the mountain sections of a line from its cells.
#ifndef SCENARIO_TOOLS_MOUNTAIN_RECOVERY_H_
#define SCENARIO_TOOLS_MOUNTAIN_RECOVERY_H_

#include <string>
#include <vector>

#include "output/cell_file.h"
#include "tools/decompiled_scenario.h"

namespace scenario {

/// The "montagna" records that give the cells' `montagna` values and
/// mountain markers, in position order, written before any element is
/// placed (as the line script's "[montagne]" section comes before its
/// boards).
///
/// A run of cells with the same non-zero value is cut into as few sections
/// as the markers allow: a section with the marker flag has a marker, or an
/// element placed later, on every 4th cell from its first and no marker
/// elsewhere; one without has no marker. A section's positions are
/// multiples of 50 (first cell × 50 to (last cell + 1) × 50); the type of a
/// marked section is the value + 10. A section that starts 150 m or less
/// after the one before it is read as type 3, so when its value is not 3 a
/// separator record (a section of no length at 0) stands between them. What
/// no records can give is described in `*inesprimibili`.
std::vector<RecordMontagna> recupera_montagne(const std::vector<Cella>& celle,
                                              std::vector<std::string>* inesprimibili);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_MOUNTAIN_RECOVERY_H_
