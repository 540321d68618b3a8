#include "tools/plan_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string>

#include "tools/render_layout.h"
#include "tools/text_encoding.h"

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
constexpr std::int32_t kMetriPuntiKm = 10000;
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

/// The box a label takes around its baseline: from `sopra` above it,
/// `alto` tall.
struct Ingombro {
  double sopra;
  double alto;
};

/// What is drawn on the plan so far, as boxes, so that labels keep off it.
class Occupato {
 public:
  /// Takes a box.
  void occupa(double x, double y, double w, double h) { scatole_.push_back({x, y, w, h}); }
  /// Takes the square of side `lato` centred on `p`.
  void occupa_attorno(Punto p, double lato) {
    occupa(p.first - lato / 2, p.second - lato / 2, lato, lato);
  }

  /// Writes `testo` at the first of the baselines `posti` where its box is
  /// free, and takes the box. Where none is free, a label that must be
  /// shown (`sempre`) goes to the first place over what is there.
  void colloca(Pagina& p, std::span<const Punto> posti, const std::string& testo, Stile stile,
               Ingombro ingombro, bool sempre) {
    const double w = larghezza_testo(testo, stile);
    for (const auto& [x, y] : posti) {
      if (!libera(x, y - ingombro.sopra, w, ingombro.alto)) continue;
      p.testo(x, y, testo, stile);
      occupa(x, y - ingombro.sopra, w, ingombro.alto);
      return;
    }
    if (!sempre || posti.empty()) return;
    p.testo(posti[0].first, posti[0].second, testo, stile);
    occupa(posti[0].first, posti[0].second - ingombro.sopra, w, ingombro.alto);
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
  for (std::int32_t m = 0; m <= ultima; m += pianta.passo()) {
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

}  // namespace

void disegna_pianta(Pagina& p, const ScenarioDecodificato& s, const std::vector<Stazione>& stazioni,
                    double y) {
  p.testo(kMargine, y + kBaseIntestazione, "Plan of the track", Stile::sezione);
  const double cima = y + kSopraCornice;
  const double fondo = cima + kAltezzaCornice;
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

  // The end and the start of the route, and the scale bar.
  Punto fine, inizio;
  const bool con_fine = lunghezza > 0 && pianta.pagina(lunghezza, &fine);
  if (con_fine) {
    p.rettangolo(fine.first - 4, fine.second - 4, 8, 8, Stile::estremo);
    occupato.occupa_attorno(fine, 10);
  }
  if (pianta.pagina(0, &inizio)) {
    p.cerchio(inizio.first, inizio.second, 5, Stile::estremo);
    occupato.occupa_attorno(inizio, 12);
    const Punto posto[] = {{inizio.first + 8, inizio.second + 16}};
    occupato.colloca(p, posto, "start", Stile::etichetta, {10, 12}, true);
  }
  disegna_barra_scala(p, pianta, fondo, occupato);

  // Kilometre points and stations; their labels come last, where there is
  // room.
  std::vector<std::pair<std::int32_t, Punto>> punti_km;
  for (std::int32_t m = kMetriPuntiKm; m <= std::min(lunghezza, ultima); m += kMetriPuntiKm) {
    Punto q;
    if (!pianta.pagina(m, &q)) continue;
    p.cerchio(q.first, q.second, 2.5, Stile::punto_km);
    occupato.occupa_attorno(q, 6);
    punti_km.push_back({m / 1000, q});
  }
  for (const Stazione& st : stazioni) {
    Punto q;
    if (!pianta.pagina(st.posizione, &q)) continue;
    p.cerchio(q.first, q.second, 4.5, Stile::punto_stazione);
    occupato.occupa_attorno(q, 10);
  }

  for (const Stazione& st : stazioni) {
    Punto q;
    if (!pianta.pagina(st.posizione, &q)) continue;
    const std::string nome = utf8_da_cp1252(st.nome);
    const double w = larghezza_testo(nome, Stile::stazione_pianta);
    const double h = 14;
    const auto [x, y0] = q;
    const Punto posti[] = {
        {x + 8, y0 + 4},          {x - 8 - w, y0 + 4},     {x + 6, y0 - 8},
        {x - 6 - w, y0 - 8},      {x + 6, y0 + h + 4},     {x - 6 - w, y0 + h + 4},
        {x - w / 2, y0 - 12},     {x - w / 2, y0 + h + 8}, {x + 8, y0 - h - 10},
        {x - 8 - w, y0 - h - 10}, {x + 8, y0 + 2 * h + 6}, {x - 8 - w, y0 + 2 * h + 6},
    };
    occupato.colloca(p, posti, nome, Stile::stazione_pianta, {11, h}, true);
  }
  if (con_fine) {
    const double w = larghezza_testo("end", Stile::etichetta_alone);
    const auto [x, y0] = fine;
    const Punto posti[] = {
        {x + 8, y0 + 16}, {x - 8 - w, y0 + 16}, {x + 8, y0 - 6}, {x - 8 - w, y0 - 6}};
    occupato.colloca(p, posti, "end", Stile::etichetta_alone, {10, 12}, false);
  }
  for (const auto& [km, q] : punti_km) {
    const std::string testo = "km " + std::to_string(km);
    const double w = larghezza_testo(testo, Stile::etichetta_km);
    const auto [x, y0] = q;
    const Punto posti[] = {
        {x + 5, y0 - 4}, {x - 5 - w, y0 + 13}, {x + 5, y0 + 13}, {x - 5 - w, y0 - 4}};
    occupato.colloca(p, posti, testo, Stile::etichetta_km, {10, 11}, false);
  }
}

}  // namespace scenario
