#include "tools/plan_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <span>
#include <string>

#include "tools/render_layout.h"
#include "tools/text_encoding.h"
#include "tools/wording.h"

namespace scenario {

namespace {

/// The frame under the heading, and the track's room inside it.
constexpr double kSopraCornice = 28;
constexpr double kAltezzaCornice = 440;
/// The track's room in the frame: its left and width on the page, its top
/// below the frame's top and its height.
constexpr double kStanzaX = kMargineSinistro + 20;
constexpr double kStanzaLarghezza = kAreaX - 60;
constexpr double kStanzaSopra = 30;
constexpr double kStanzaAltezza = kAltezzaCornice - 60;
/// Left of the heading's note.
constexpr double kXNota = 175;
/// The track is drawn through at most about this many of its metres.
constexpr std::int32_t kPuntiTracciato = 4000;
/// A kilometre point every this many metres.
constexpr std::int32_t kMetriPuntiKm = 10 * kMetriKm;
/// The scale bar: the longest of these lengths (metres) that fits.
constexpr double kLunghezzeBarra[] = {1000, 2000, 5000, 10000, 20000, 50000};
constexpr double kBarraMassima = 200;
/// Coordinates farther out than this would only squash the drawing.
constexpr double kCoordinataMassima = 1e8;

/// Where the line geometry falls on the page: the track fitted into a box,
/// turned a quarter left when it is taller than wide.
class Proiezione {
 public:
  Proiezione(const TabellaLinea& t, double x, double y, double w, double h) : t_(t) {
    const std::int32_t ultima = t.ultima_riga();
    passo_ = std::max<std::int32_t>(1, ultima / kPuntiTracciato);
    double umin = INFINITY, umax = -INFINITY, vmin = INFINITY, vmax = -INFINITY;
    for (std::int32_t m = 0; m <= ultima; ++m) {
      double u, v;
      if (!punto(m, &u, &v)) continue;
      umin = std::min(umin, u);
      umax = std::max(umax, u);
      vmin = std::min(vmin, v);
      vmax = std::max(vmax, v);
    }
    valida_ = umin <= umax && vmin <= vmax;
    if (!valida_) return;
    // A tall track is turned a quarter left so the page holds it larger;
    // a turn keeps left curves bending left.
    ruotata_ = (vmax - vmin) > (umax - umin);
    amin_ = ruotata_ ? vmin : umin;
    const double amax = ruotata_ ? vmax : umax;
    const double bmin = ruotata_ ? -umax : vmin;
    bmax_ = ruotata_ ? -umin : vmax;
    const double aw = std::max(amax - amin_, 1.0);
    const double bh = std::max(bmax_ - bmin, 1.0);
    scala_ = std::min(w / aw, h / bh);
    ox_ = x + (w - aw * scala_) / 2;
    oy_ = y + (h - bh * scala_) / 2;
  }

  /// False when the geometry holds no point.
  bool valida() const { return valida_; }
  /// Page units per metre.
  double scala() const { return scala_; }
  /// The metres between two points of the drawn track.
  std::int32_t passo() const { return passo_; }

  /// Page point of metre `m`; false where the geometry has no point.
  bool pagina(std::int32_t m, Punto* p) const {
    double u, v;
    if (!valida_ || !punto(m, &u, &v)) return false;
    const double a = ruotata_ ? v : u;
    const double b = ruotata_ ? -u : v;
    *p = {ox_ + (a - amin_) * scala_, oy_ + (bmax_ - b) * scala_};
    return true;
  }

 private:
  bool punto(std::int32_t m, double* u, double* v) const {
    if (m < 0 || m > t_.ultima_riga()) return false;
    if (t_.tipo(m, 0) == TipoVariante::vuoto || t_.tipo(m, 1) == TipoVariante::vuoto) return false;
    *u = t_.valore(m, 0);
    *v = t_.valore(m, 1);
    return std::isfinite(*u) && std::isfinite(*v) && std::fabs(*u) < kCoordinataMassima &&
           std::fabs(*v) < kCoordinataMassima;
  }

  const TabellaLinea& t_;
  std::int32_t passo_ = 1;
  bool valida_ = false;
  bool ruotata_ = false;
  double amin_ = 0, bmax_ = 0, scala_ = 1, ox_ = 0, oy_ = 0;
};

/// Where a label may stand beside the point it names: to the right (its
/// start `dx` right of the point), to the left (its end `dx` left of it) or
/// centred on it, its baseline `dy` below the point.
struct Posto {
  enum Lato { destra, sinistra, centro } lato;
  double dx;
  double dy;
};

/// A kind of label: its style, the box it takes (from `sopra` above its
/// baseline, `alto` tall), the places to try in order, and whether it is
/// shown over what is there when no place is free.
struct TipoEtichetta {
  Stile stile;
  double sopra;
  double alto;
  std::span<const Posto> posti;
  bool sempre;
};

constexpr Posto kPostiInizio[] = {{Posto::destra, 8, 16}};
constexpr Posto kPostiFine[] = {{Posto::destra, 8, 16},
                                {Posto::sinistra, 8, 16},
                                {Posto::destra, 8, -6},
                                {Posto::sinistra, 8, -6}};
constexpr Posto kPostiKm[] = {{Posto::destra, 5, -4},
                              {Posto::sinistra, 5, 13},
                              {Posto::destra, 5, 13},
                              {Posto::sinistra, 5, -4}};
constexpr Posto kPostiStazione[] = {
    {Posto::destra, 8, 4},     {Posto::sinistra, 8, 4}, {Posto::destra, 6, -8},
    {Posto::sinistra, 6, -8},  {Posto::destra, 6, 18},  {Posto::sinistra, 6, 18},
    {Posto::centro, 0, -12},   {Posto::centro, 0, 22},  {Posto::destra, 8, -24},
    {Posto::sinistra, 8, -24}, {Posto::destra, 8, 34},  {Posto::sinistra, 8, 34},
};

constexpr TipoEtichetta kEtichettaInizio{Stile::etichetta, 10, 12, kPostiInizio, true};
constexpr TipoEtichetta kEtichettaFine{Stile::etichetta_alone, 10, 12, kPostiFine, false};
constexpr TipoEtichetta kEtichettaKm{Stile::etichetta_km, 10, 11, kPostiKm, false};
constexpr TipoEtichetta kEtichettaStazione{Stile::stazione_pianta, 11, 14, kPostiStazione, true};

/// What is drawn on the plan so far, as boxes, so that labels keep off it.
class Occupato {
 public:
  /// Takes a box.
  void occupa(double x, double y, double w, double h) { scatole_.push_back({x, y, w, h}); }
  /// Takes the square of side `lato` centred on `p`.
  void occupa_attorno(Punto p, double lato) {
    occupa(p.first - lato / 2, p.second - lato / 2, lato, lato);
  }

  /// Writes label `testo` of kind `tipo` beside point `q`, at the first of
  /// its places where its box is free, and takes the box. Where none is
  /// free, a label that must be shown goes to the first place.
  void colloca(Pagina& p, Punto q, const std::string& testo, const TipoEtichetta& tipo) {
    const double w = larghezza_testo(testo, tipo.stile);
    auto x_di = [&](const Posto& posto) {
      switch (posto.lato) {
        case Posto::destra:
          return q.first + posto.dx;
        case Posto::sinistra:
          return q.first - posto.dx - w;
        case Posto::centro:
          break;
      }
      return q.first - w / 2;
    };
    const Posto* scelto = nullptr;
    for (const Posto& posto : tipo.posti) {
      if (libera(x_di(posto), q.second + posto.dy - tipo.sopra, w, tipo.alto)) {
        scelto = &posto;
        break;
      }
    }
    if (!scelto && tipo.sempre && !tipo.posti.empty()) scelto = &tipo.posti[0];
    if (!scelto) return;
    const double x = x_di(*scelto), y = q.second + scelto->dy;
    p.testo(x, y, testo, tipo.stile);
    occupa(x, y - tipo.sopra, w, tipo.alto);
  }

 private:
  bool libera(double x, double y, double w, double h) const {
    for (const auto& r : scatole_) {
      if (x < r[0] + r[2] && r[0] < x + w && y < r[1] + r[3] && r[1] < y + h) return false;
    }
    return true;
  }

  std::vector<std::array<double, 4>> scatole_;
};

/// The track: solid up to the end of the route, dashed over the run-out the
/// geometry has beyond it, broken where the geometry has no point.
void disegna_tracciato(Pagina& p, const Proiezione& pianta, std::int32_t ultima,
                       std::int32_t lunghezza, Occupato& occupato) {
  std::vector<Punto> tratto;
  bool oltre = false;
  auto chiudi = [&] {
    p.polilinea(tratto, oltre ? Stile::oltre : Stile::binario);
    tratto.clear();
  };
  for (std::int64_t metro = 0; metro <= ultima; metro += pianta.passo()) {
    const auto m = static_cast<std::int32_t>(metro);
    const bool oltre_qui = lunghezza > 0 && m > lunghezza;
    Punto q;
    if (oltre_qui != oltre) {
      // Close the route at its end and start the run-out from the same point.
      const bool fine = pianta.pagina(lunghezza, &q);
      if (fine) tratto.push_back(q);
      chiudi();
      if (fine) tratto.push_back(q);
      oltre = oltre_qui;
      if (!pianta.pagina(m, &q)) continue;
    } else if (!pianta.pagina(m, &q)) {
      chiudi();
      continue;
    }
    tratto.push_back(q);
    occupato.occupa_attorno(q, 3);
  }
  chiudi();
}

/// A bar in the bottom-left corner of the frame, the longest of the
/// lengths of `kLunghezzeBarra` that fits `kBarraMassima`.
void disegna_barra_scala(Pagina& p, const Proiezione& pianta, double fondo, Occupato& occupato) {
  double metri = kLunghezzeBarra[0];
  for (double l : kLunghezzeBarra) {
    if (l * pianta.scala() <= kBarraMassima) metri = l;
  }
  const double lungo = metri * pianta.scala();
  const double x = 2 * kMargine, y = fondo - 16;
  p.linea(x, y, x + lungo, y, Stile::barra_scala);
  p.linea(x, y - 4, x, y + 4, Stile::barra_scala);
  p.linea(x + lungo, y - 4, x + lungo, y + 4, Stile::barra_scala);
  p.testo(x + lungo / 2, y - 7, num(metri / 1000) + " km", Stile::testo_scala);
  occupato.occupa(x - 2, y - 20, lungo + 4, 26);
}

/// The end of the route (a square) and its start (a dot, labelled).
/// Returns the end's point, when the geometry has one.
std::optional<Punto> disegna_estremi(Pagina& p, const Proiezione& pianta, std::int32_t lunghezza,
                                     Occupato& occupato) {
  Punto fine, inizio;
  const bool con_fine = lunghezza > 0 && pianta.pagina(lunghezza, &fine);
  if (con_fine) {
    p.rettangolo(fine.first - 4, fine.second - 4, 8, 8, Stile::estremo);
    occupato.occupa_attorno(fine, 10);
  }
  if (pianta.pagina(0, &inizio)) {
    p.cerchio(inizio.first, inizio.second, 5, Stile::estremo);
    occupato.occupa_attorno(inizio, 12);
    occupato.colloca(p, inizio, "start", kEtichettaInizio);
  }
  return con_fine ? std::optional<Punto>(fine) : std::nullopt;
}

/// A dot every `kMetriPuntiKm` up to `fino_a`; returns each kilometre with
/// its point.
std::vector<std::pair<std::int32_t, Punto>> disegna_punti_km(Pagina& p, const Proiezione& pianta,
                                                             std::int32_t fino_a,
                                                             Occupato& occupato) {
  std::vector<std::pair<std::int32_t, Punto>> punti;
  for (std::int64_t m = kMetriPuntiKm; m <= fino_a; m += kMetriPuntiKm) {
    Punto q;
    if (!pianta.pagina(static_cast<std::int32_t>(m), &q)) continue;
    p.cerchio(q.first, q.second, 2.5, Stile::punto_km);
    occupato.occupa_attorno(q, 6);
    punti.push_back({static_cast<std::int32_t>(m / kMetriKm), q});
  }
  return punti;
}

/// A dot at each station; returns each station with its point.
std::vector<std::pair<const Stazione*, Punto>> disegna_punti_stazioni(
    Pagina& p, const Proiezione& pianta, const std::vector<Stazione>& stazioni,
    Occupato& occupato) {
  std::vector<std::pair<const Stazione*, Punto>> punti;
  for (const Stazione& st : stazioni) {
    Punto q;
    if (!pianta.pagina(st.posizione, &q)) continue;
    p.cerchio(q.first, q.second, 4.5, Stile::punto_stazione);
    occupato.occupa_attorno(q, 10);
    punti.push_back({&st, q});
  }
  return punti;
}

}  // namespace

void disegna_pianta(Pagina& p, const ScenarioDecodificato& s, const std::vector<Stazione>& stazioni,
                    double y) {
  p.testo(kMargine, y + kBaseIntestazione, "Plan of the track", Stile::sezione);
  const double cima = y + kSopraCornice;
  p.rettangolo(kMargine, cima, kLarghezzaPagina - 2 * kMargine, kAltezzaCornice,
               Stile::cornice_pianta);
  const double centro_y = cima + kAltezzaCornice / 2;
  if (!s.con_linea) {
    p.testo(kLarghezzaPagina / 2, centro_y,
            "no line file: the scenario was compiled without the line geometry", Stile::avviso);
    return;
  }
  p.testo(kXNota, y + kBaseIntestazione,
          "solid: the route from start to end \xc2\xb7 dashed: the geometry's run-out beyond "
          "the end \xc2\xb7 circles every 10 km \xc2\xb7 blue: stations",
          Stile::nota);
  const Proiezione pianta(s.linea, kStanzaX, cima + kStanzaSopra, kStanzaLarghezza, kStanzaAltezza);
  if (!pianta.valida()) {
    p.testo(kLarghezzaPagina / 2, centro_y, "the line file holds no track points", Stile::avviso);
    return;
  }
  Occupato occupato;
  const std::int32_t ultima = s.linea.ultima_riga();
  const std::int32_t lunghezza = lunghezza_percorso(s.parametri);
  disegna_tracciato(p, pianta, ultima, lunghezza, occupato);

  const std::optional<Punto> fine = disegna_estremi(p, pianta, lunghezza, occupato);
  disegna_barra_scala(p, pianta, cima + kAltezzaCornice, occupato);
  const auto punti_km = disegna_punti_km(p, pianta, std::min(lunghezza, ultima), occupato);
  const auto punti_stazioni = disegna_punti_stazioni(p, pianta, stazioni, occupato);

  // The labels come last, where there is room.
  for (const auto& [st, q] : punti_stazioni) {
    occupato.colloca(p, q, testo_mostrato(st->nome), kEtichettaStazione);
  }
  if (fine) occupato.colloca(p, *fine, "end", kEtichettaFine);
  for (const auto& [km, q] : punti_km) {
    occupato.colloca(p, q, "km " + std::to_string(km), kEtichettaKm);
  }
}

}  // namespace scenario
