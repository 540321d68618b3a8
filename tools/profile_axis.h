// The kilometre axis of the profile: route metres to page x, the grid of
// its labelled kilometres, and the axis drawn under the panels.
#ifndef SCENARIO_TOOLS_PROFILE_AXIS_H_
#define SCENARIO_TOOLS_PROFILE_AXIS_H_

#include "tools/svg_page.h"

namespace scenario {

/// Height of the axis drawn under the panels, with its name.
inline constexpr double kAltezzaAsse = 62;

/// The profile's horizontal scale across the drawing area.
class AsseKm {
 public:
  /// An axis from 0 to `metri` (at least 1 km).
  explicit AsseKm(double metri);
  /// Page x of route metre `m`, held to the axis.
  double x(double m) const;
  /// The metres the axis spans.
  double metri() const { return metri_; }
  /// The spacing of the labelled kilometres.
  int passo_km() const;

 private:
  double metri_;
};

/// A rounded-up bound for an axis, a multiple of `passo`.
double arrotonda_su(double v, double passo);

/// A vertical line from `y1` to `y2` at every labelled kilometre.
void disegna_griglia_km(Pagina& p, const AsseKm& asse, double y1, double y2, Stile stile);

/// The axis with its top at `y`: labelled ticks with small ones between,
/// and the axis' name.
void disegna_asse_km(Pagina& p, const AsseKm& asse, double y);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_PROFILE_AXIS_H_
