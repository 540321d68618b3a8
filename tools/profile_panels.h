// The lower part of the profile: the speed limit (with the slowdowns), the
// gradient and the adhesion along the kilometre axis, each in a panel of
// its own.
#ifndef SCENARIO_TOOLS_PROFILE_PANELS_H_
#define SCENARIO_TOOLS_PROFILE_PANELS_H_

#include <vector>

#include "output/cell_file.h"
#include "tools/profile_axis.h"
#include "tools/scenario_view.h"
#include "tools/svg_page.h"

namespace scenario {

/// Heights of the three panels, and the space above each.
inline constexpr double kAltezzaVelocita = 170;
inline constexpr double kAltezzaPendenza = 130;
inline constexpr double kAltezzaAderenza = 80;
inline constexpr double kSpazioPannelli = 18;

/// The speed-limit panel with its top at `y`, each slowdown's speed drawn
/// over its stretch.
void disegna_velocita(Pagina& p, const std::vector<Cella>& celle,
                      const std::vector<Rallentamento>& rallentamenti, const AsseKm& asse,
                      double y);

/// The gradient panel with its top at `y`, level ground marked.
void disegna_pendenza(Pagina& p, const std::vector<Cella>& celle, const AsseKm& asse, double y);

/// The adhesion panel with its top at `y`.
void disegna_aderenza(Pagina& p, const std::vector<Cella>& celle, const AsseKm& asse, double y);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_PROFILE_PANELS_H_
