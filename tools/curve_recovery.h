// Recovers the curve records of a line from its plan geometry.
#ifndef SCENARIO_TOOLS_CURVE_RECOVERY_H_
#define SCENARIO_TOOLS_CURVE_RECOVERY_H_

#include <string>
#include <vector>

#include "output/line_file.h"
#include "tools/decompiled_scenario.h"

namespace scenario {

/// The curves of the geometry `linea`, in the order of the track. Each
/// computed metre continues the step of the two metres before it, straight
/// or turned by one of the six classes to one side; the turn is found by
/// recomputing the metre every way and keeping the one whose result is
/// bit-identical. A run of metres with the same turn is one curve, starting
/// at the metre before the first of them. A geometry that no script gives
/// (fixed rows that are not the start, a metre that is no step of any kind,
/// elements of the wrong kind) is described in `*inesprimibili`, the first
/// fault only, and its metres are taken as straight.
std::vector<RecordCurva> recupera_curve(const TabellaLinea& linea,
                                        std::vector<std::string>* inesprimibili);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_CURVE_RECOVERY_H_
