// The geometry of the scenario's page, shared by its parts: the plan and
// the profile stand one under the other across the same width.
#ifndef SCENARIO_TOOLS_RENDER_LAYOUT_H_
#define SCENARIO_TOOLS_RENDER_LAYOUT_H_

namespace scenario {

// In SVG user units (pixels).
inline constexpr double kLarghezzaPagina = 1600;
/// Left of headings and frames.
inline constexpr double kMargine = 20;
/// Left of the drawing area: lane names and axis values stand in the margin.
inline constexpr double kMargineSinistro = 130;
inline constexpr double kMargineDestro = 40;
/// Width of the drawing area.
inline constexpr double kAreaX = kLarghezzaPagina - kMargineSinistro - kMargineDestro;
/// Baseline of a section's heading, below the section's top.
inline constexpr double kBaseIntestazione = 16;

}  // namespace scenario

#endif  // SCENARIO_TOOLS_RENDER_LAYOUT_H_
