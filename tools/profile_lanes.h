// The upper part of the profile: the station names above, and the lanes of
// marks along the kilometre axis (stations, signals, sign boards, speed
// boards, slowdowns, code cells, mountain sections).
#ifndef SCENARIO_TOOLS_PROFILE_LANES_H_
#define SCENARIO_TOOLS_PROFILE_LANES_H_

#include <vector>

#include "tools/profile_axis.h"
#include "tools/scenario_view.h"
#include "tools/svg_page.h"

namespace scenario {

/// Draws the station names, in as many rows as they need, and under them
/// the lanes of marks, with the top at `y`. Returns the height taken.
double disegna_corsie(Pagina& p, const ScenarioDecodificato& s,
                      const std::vector<Stazione>& stazioni,
                      const std::vector<Rallentamento>& rallentamenti, const AsseKm& asse,
                      double y);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_PROFILE_LANES_H_
