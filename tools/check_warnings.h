// The check's warnings: what compiles but is most likely not what the
// author meant, found in the outlines of the two scripts.
#ifndef SCENARIO_TOOLS_CHECK_WARNINGS_H_
#define SCENARIO_TOOLS_CHECK_WARNINGS_H_

#include <array>
#include <string_view>
#include <vector>

#include "tools/checked_script.h"
#include "tools/diagnostic.h"

namespace scenario {

/// The name of every warning, as `--no-warn` takes it.
inline constexpr std::array<std::string_view, 20> kNomiAvvisi = {
    "unknown-record",       "extra-fields",     "missing-fields",     "ambiguous-keyword",
    "duplicate-record",     "out-of-order",     "overlapping-curves", "profile-start",
    "past-route-end",       "inexact-position", "inexact-speed",      "truncated-value",
    "no-warning-board",     "short-slowdown",   "time-out-of-range",  "timetable-order",
    "station-before-start", "non-ascii-text",   "empty-script",       "chainage-reset",
};

/// True when `nome` names a warning.
bool avviso_esiste(std::string_view nome);

/// Every warning of the line script and the train script, in no set order.
std::vector<Diagnostica> avvisi_script(const ScriptControllato& linea,
                                       const ScriptControllato& treno);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_CHECK_WARNINGS_H_
