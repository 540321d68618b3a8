#include "tools/profile_axis.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "tools/render_layout.h"
#include "tools/scenario_view.h"

namespace scenario {

namespace {

/// Labelled kilometres are spaced by the first of 1, 2, 5, 10, 20, 50, ...
/// kilometres that keeps their number at most `kEtichetteMassime`, however
/// far a station or an element of a malformed file reaches.
constexpr int kCifreKm[] = {1, 2, 5};
constexpr double kEtichetteMassime = 25;
/// Small ticks between two labelled ones.
constexpr int kTaccheTraEtichette = 5;

}  // namespace

AsseKm::AsseKm(double metri) : metri_(std::max<double>(metri, kMetriKm)) {}

double AsseKm::x(double m) const {
  return kMargineSinistro + std::clamp(m, 0.0, metri_) / metri_ * kAreaX;
}

int AsseKm::passo_km() const {
  const double km = metri_ / kMetriKm;
  // An axis spans at most the metres a 32-bit field holds, so the spacing
  // stays far below the largest int.
  int decade = 1;
  for (; decade < 100000000; decade *= 10) {
    for (int cifra : kCifreKm) {
      if (km / (cifra * decade) <= kEtichetteMassime) return cifra * decade;
    }
  }
  return decade;
}

double arrotonda_su(double v, double passo) {
  return std::ceil(v / passo) * passo;
}

void disegna_griglia_km(Pagina& p, const AsseKm& asse, double y1, double y2, Stile stile) {
  for (int km = 0; km * double{kMetriKm} <= asse.metri(); km += asse.passo_km()) {
    const double x = asse.x(km * double{kMetriKm});
    p.linea(x, y1, x, y2, stile);
  }
}

void disegna_asse_km(Pagina& p, const AsseKm& asse, double y) {
  const int passo_piccolo = std::max(1, asse.passo_km() / kTaccheTraEtichette);
  for (int km = 0; km * double{kMetriKm} <= asse.metri(); km += passo_piccolo) {
    const double x = asse.x(km * double{kMetriKm});
    const bool etichetta = km % asse.passo_km() == 0;
    p.linea(x, y, x, y + (etichetta ? 7 : 3), Stile::tacca_asse);
    if (etichetta) p.testo(x, y + 20, std::to_string(km), Stile::km_asse);
  }
  p.testo(kMargineSinistro + kAreaX / 2, y + 40, "route position (km)", Stile::titolo_asse);
}

}  // namespace scenario
