// The compiled scenario drawn as one SVG page: the plan of the track, and
// below it the profile along the route with every element marked.
#ifndef SCENARIO_TOOLS_RENDER_H_
#define SCENARIO_TOOLS_RENDER_H_

#include <string>

#include "tools/scenario_view.h"

namespace scenario {

/// The SVG page of a scenario: title, plan of the track (when there is a
/// line file) with the stations, and the profile along a kilometre axis:
/// lanes of marks (stations, signals, boards, slowdowns, code cells,
/// mountain sections), the speed limit, the gradient and the adhesion as
/// lines, and a legend.
std::string disegna_scenario(const ScenarioDecodificato& s);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_RENDER_H_
