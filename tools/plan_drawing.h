// The plan of the track, drawn from the line file: the route and the
// geometry's run-out beyond it, start and end, a scale bar, kilometre
// points and the stations, each with a label where there is room.
#ifndef SCENARIO_TOOLS_PLAN_DRAWING_H_
#define SCENARIO_TOOLS_PLAN_DRAWING_H_

#include <vector>

#include "tools/scenario_view.h"
#include "tools/svg_page.h"

namespace scenario {

/// Height of the plan's section: heading, frame and the space after it.
inline constexpr double kAltezzaSezionePianta = 28 + 440 + 30;

/// Draws the plan's section of the page with its top at `y`; without a line
/// file (or a line file without points), a message in the frame instead.
void disegna_pianta(Pagina& p, const ScenarioDecodificato& s, const std::vector<Stazione>& stazioni,
                    double y);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_PLAN_DRAWING_H_
