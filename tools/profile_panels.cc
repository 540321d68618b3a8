#include "tools/profile_panels.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "tools/render_layout.h"

namespace scenario {

namespace {

/// Left of a panel's name, turned along its side.
constexpr double kXNomePannello = 40;

/// A panel: a value range drawn over a height of the page.
struct Pannello {
  double y;  ///< top
  double h;  ///< height
  double minimo;
  double massimo;
  /// Page y of value `v`, held to the range.
  double Y(double v) const {
    return y + h - (std::clamp(v, minimo, massimo) - minimo) / (massimo - minimo) * h;
  }
};

/// The value a panel draws for a cell.
using Valore = double (*)(const Cella&);

double velocita(const Cella& c) {
  return velocita_kmh(c);
}
double pendenza(const Cella& c) {
  return pendenza_per_mille(c);
}
double aderenza(const Cella& c) {
  return c.aderenza;
}

/// The largest value over the cells under the axis, at least `minimo`.
double massimo_sotto_asse(const std::vector<Cella>& celle, const AsseKm& asse, Valore valore,
                          double minimo) {
  double massimo = minimo;
  for (std::size_t c = 0; c < celle.size() && static_cast<double>(inizio_cella(c)) < asse.metri();
       ++c) {
    massimo = std::max(massimo, valore(celle[c]));
  }
  return massimo;
}

/// A step line over the cells: cell c's value holds from its start to the
/// next cell's.
std::vector<Punto> gradini(const std::vector<Cella>& celle, const AsseKm& asse, const Pannello& pan,
                           Valore valore) {
  std::vector<Punto> punti;
  double precedente = NAN;
  for (std::size_t c = 0; c < celle.size(); ++c) {
    const double da = static_cast<double>(inizio_cella(c));
    if (da >= asse.metri()) break;
    const double v = valore(celle[c]);
    if (v != precedente) {
      if (!punti.empty()) punti.emplace_back(asse.x(da), punti.back().second);
      punti.emplace_back(asse.x(da), pan.Y(v));
      precedente = v;
    }
  }
  if (!punti.empty()) {
    const double fine = std::min(static_cast<double>(inizio_cella(celle.size())), asse.metri());
    punti.emplace_back(asse.x(fine), punti.back().second);
  }
  return punti;
}

/// A panel's frame, its value grid every `passo` with the values on the
/// side, the kilometre grid, and its name along the side.
void disegna_cornice(Pagina& p, const AsseKm& asse, const Pannello& pan, const std::string& nome,
                     double passo) {
  p.rettangolo(kMargineSinistro, pan.y, kAreaX, pan.h, Stile::cornice_pannello);
  for (double v = arrotonda_su(pan.minimo, passo); v <= pan.massimo + 1e-9; v += passo) {
    const double y = pan.Y(v);
    p.linea(kMargineSinistro, y, kMargineSinistro + kAreaX, y, Stile::griglia);
    p.linea(kMargineSinistro - 4, y, kMargineSinistro, y, Stile::tacca_pannello);
    p.testo(kMargineSinistro - 7, y + 4, num(v), Stile::valore_pannello);
  }
  disegna_griglia_km(p, asse, pan.y, pan.y + pan.h, Stile::griglia);
  p.testo_verticale(kXNomePannello, pan.y + pan.h / 2, nome, Stile::nome_pannello);
}

}  // namespace

void disegna_velocita(Pagina& p, const std::vector<Cella>& celle,
                      const std::vector<Rallentamento>& rallentamenti, const AsseKm& asse,
                      double y) {
  const double massimo = massimo_sotto_asse(celle, asse, velocita, 40);
  const Pannello pan{y, kAltezzaVelocita, 0, arrotonda_su(massimo + 5, 20)};
  disegna_cornice(p, asse, pan, "speed limit (km/h)", pan.massimo > 200 ? 40 : 20);
  p.polilinea(gradini(celle, asse, pan, velocita), Stile::linea_velocita);
  for (const Rallentamento& r : rallentamenti) {
    const double yv = pan.Y(r.velocita);
    p.linea(asse.x(static_cast<double>(r.da)), yv, asse.x(static_cast<double>(r.a)), yv,
            Stile::linea_rallentamento);
  }
}

void disegna_pendenza(Pagina& p, const std::vector<Cella>& celle, const AsseKm& asse, double y) {
  const double massimo =
      arrotonda_su(massimo_sotto_asse(
                       celle, asse, [](const Cella& c) { return std::fabs(pendenza(c)); }, 5),
                   5);
  const Pannello pan{y, kAltezzaPendenza, -massimo, massimo};
  disegna_cornice(p, asse, pan, "gradient (\xe2\x80\xb0)", massimo > 20 ? 10 : 5);
  p.linea(kMargineSinistro, pan.Y(0), kMargineSinistro + kAreaX, pan.Y(0), Stile::zero_pendenza);
  p.polilinea(gradini(celle, asse, pan, pendenza), Stile::linea_pendenza);
}

void disegna_aderenza(Pagina& p, const std::vector<Cella>& celle, const AsseKm& asse, double y) {
  const double massimo = massimo_sotto_asse(celle, asse, aderenza, 100);
  const Pannello pan{y, kAltezzaAderenza, 0, arrotonda_su(massimo, 50)};
  disegna_cornice(p, asse, pan, "adhesion (value)", 50);
  p.polilinea(gradini(celle, asse, pan, aderenza), Stile::linea_aderenza);
}

}  // namespace scenario
