#include "tools/render.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "tools/dump.h"
#include "tools/text_encoding.h"

namespace scenario {

namespace {

// Page geometry, in SVG user units (pixels).
constexpr double kLarghezza = 1600;
constexpr double kMargineSinistro = 130;  // lane names and axis labels
constexpr double kMargineDestro = 40;
constexpr double kAreaX = kLarghezza - kMargineSinistro - kMargineDestro;
constexpr double kAltezzaPianta = 440;
constexpr double kAltezzaCorsia = 22;
constexpr double kRigaNomi = 17;
constexpr int kRigheNomiMassime = 6;
constexpr double kAltezzaVelocita = 170;
constexpr double kAltezzaPendenza = 130;
constexpr double kAltezzaAderenza = 80;
constexpr double kSpazioPannelli = 18;

// Colours, one per kind of thing drawn.
constexpr const char* kColoreBinario = "#1f2933";
constexpr const char* kColoreStazione = "#1d4ed8";
constexpr const char* kColoreSegnale = "#dc2626";
constexpr const char* kColoreCartello = "#6b7280";
constexpr const char* kColoreTabelle = "#ea580c";
constexpr const char* kColoreRallentamento = "#b91c1c";
constexpr const char* kColoreCodice = "#059669";
constexpr const char* kColoreMontagna = "#92400e";
constexpr const char* kColoreVelocita = "#2563eb";
constexpr const char* kColorePendenza = "#a16207";
constexpr const char* kColoreAderenza = "#16a34a";
constexpr const char* kColoreGriglia = "#e5e7eb";
/// A halo in the plan's background colour behind labels drawn over lines.
constexpr const char* kAlone =
    "stroke=\"#f9fafb\" stroke-width=\"3\" stroke-linejoin=\"round\" paint-order=\"stroke\"";

/// Average advance of a character of the page's sans-serif font, per pixel
/// of font size, regular and bold; generous, to keep labels apart.
constexpr double kAvanzamento = 0.62;
constexpr double kAvanzamentoGrassetto = 0.74;

std::string num(double v) {
  if (!std::isfinite(v)) v = 0;
  char b[32];
  std::snprintf(b, sizeof b, "%.1f", v);
  std::string s = b;
  if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
  if (s == "-0") s = "0";
  return s;
}

/// A record text ready for the page.
std::string testo_record(const std::string& cp1252) {
  return xml_testo(utf8_da_cp1252(cp1252));
}

/// Width in pixels of `caratteri` characters at font size `dimensione`.
double larghezza_testo(std::size_t caratteri, double dimensione, bool grassetto) {
  return static_cast<double>(caratteri) * dimensione *
         (grassetto ? kAvanzamentoGrassetto : kAvanzamento);
}

/// Collects the page's elements.
class Pagina {
 public:
  void linea(double x1, double y1, double x2, double y2, const std::string& stile) {
    svg_ += "<line x1=\"" + num(x1) + "\" y1=\"" + num(y1) + "\" x2=\"" + num(x2) + "\" y2=\"" +
            num(y2) + "\" " + stile + "/>\n";
  }
  void rettangolo(double x, double y, double w, double h, const std::string& stile) {
    svg_ += "<rect x=\"" + num(x) + "\" y=\"" + num(y) + "\" width=\"" + num(std::max(w, 0.0)) +
            "\" height=\"" + num(std::max(h, 0.0)) + "\" " + stile + "/>\n";
  }
  void cerchio(double x, double y, double r, const std::string& stile) {
    svg_ += "<circle cx=\"" + num(x) + "\" cy=\"" + num(y) + "\" r=\"" + num(r) + "\" " + stile +
            "/>\n";
  }
  /// `testo` must already be escaped for XML.
  void testo(double x, double y, const std::string& testo, const std::string& stile) {
    svg_ += "<text x=\"" + num(x) + "\" y=\"" + num(y) + "\" " + stile + ">" + testo + "</text>\n";
  }
  void poligono(const std::vector<std::pair<double, double>>& punti, const std::string& stile) {
    svg_ += "<polygon points=\"" + punti_testo(punti) + "\" " + stile + "/>\n";
  }
  void polilinea(const std::vector<std::pair<double, double>>& punti, const std::string& stile) {
    if (punti.size() < 2) return;
    svg_ += "<polyline points=\"" + punti_testo(punti) + "\" fill=\"none\" " + stile + "/>\n";
  }
  /// Opens a group whose tooltip is `titolo` (already escaped).
  void apri_gruppo(const std::string& titolo) { svg_ += "<g><title>" + titolo + "</title>\n"; }
  void chiudi_gruppo() { svg_ += "</g>\n"; }
  void grezzo(const std::string& s) { svg_ += s; }

  const std::string& svg() const { return svg_; }

 private:
  static std::string punti_testo(const std::vector<std::pair<double, double>>& punti) {
    std::string s;
    for (const auto& [x, y] : punti) s += num(x) + "," + num(y) + " ";
    if (!s.empty()) s.pop_back();
    return s;
  }

  std::string svg_;
};

/// A station as drawn: its area, its position and its name.
struct Stazione {
  std::int32_t inizio;
  std::int32_t fine;
  std::int32_t posizione;
  std::string nome;  ///< Windows-1252, as in the file
  int voce;
};

/// One slowdown: from its start cell to its end cell.
struct Rallentamento {
  double da;
  double a;
  std::int32_t velocita;
};

/// Stations are the entries 1 to 80 that hold something and are not the
/// text of a sign board on the route.
std::vector<Stazione> stazioni_di(const ScenarioDecodificato& s) {
  std::set<int> cartelli;
  for (const Cella& c : s.celle) {
    if (c.tipo == tipo_cella::cartello) cartelli.insert(c.dato1);
  }
  std::vector<Stazione> out;
  for (int e = 1; e <= voce::ultimo_cartello; ++e) {
    const Parametro& p = s.parametri[static_cast<std::size_t>(e)];
    if (cartelli.count(e)) continue;
    const bool vuota = p.nome.empty() && p.tipo == 0 && p.inizio == 0 && p.fine == 0 &&
                       p.posizione == 0 && p.orario == 0;
    if (vuota) continue;
    out.push_back({p.inizio, p.fine, p.posizione, p.nome, e});
  }
  return out;
}

/// Metres of the route where the element in cell `c` stands: the placing
/// rule puts an element at position p in cell p / 50 + 1.
double metri_elemento(std::size_t c) {
  return (static_cast<double>(c) - 1) * 50;
}

std::string plurale(std::int32_t n, const char* uno, const char* molti) {
  return std::to_string(n) + " " + (n == 1 ? uno : molti);
}

std::string orario(std::int32_t secondi) {
  if (secondi <= 0) return "";
  char b[32];
  std::snprintf(b, sizeof b, "%02d:%02d", secondi / 3600 % 100, secondi / 60 % 60);
  return b;
}

/// The plan of the track in a frame at (x, y, w, h).
class Pianta {
 public:
  Pianta(const TabellaLinea& t, double x, double y, double w, double h) : t_(t) {
    const std::int32_t ultima = t.ultima_riga();
    passo_ = std::max<std::int32_t>(1, ultima / 4000);
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

  bool valida() const { return valida_; }
  double scala() const { return scala_; }
  std::int32_t passo() const { return passo_; }

  /// Page point of metre `m`; false where the geometry has no point.
  bool pagina(std::int32_t m, double* x, double* y) const {
    double u, v;
    if (!valida_ || !punto(m, &u, &v)) return false;
    const double a = ruotata_ ? v : u;
    const double b = ruotata_ ? -u : v;
    *x = ox_ + (a - amin_) * scala_;
    *y = oy_ + (bmax_ - b) * scala_;
    return true;
  }

 private:
  bool punto(std::int32_t m, double* u, double* v) const {
    if (m < 0 || m > t_.ultima_riga()) return false;
    if (t_.tipo(m, 0) == TipoVariante::vuoto || t_.tipo(m, 1) == TipoVariante::vuoto) return false;
    *u = t_.valore(m, 0);
    *v = t_.valore(m, 1);
    // Values far beyond any route would only squash the drawing.
    return std::isfinite(*u) && std::isfinite(*v) && std::fabs(*u) < 1e8 && std::fabs(*v) < 1e8;
  }

  const TabellaLinea& t_;
  std::int32_t passo_ = 1;
  bool valida_ = false;
  bool ruotata_ = false;
  double amin_ = 0, bmax_ = 0, scala_ = 1, ox_ = 0, oy_ = 0;
};

/// Boxes already taken by labels on the plan.
class Etichette {
 public:
  bool libera(double x, double y, double w, double h) const {
    for (const auto& r : occupate_) {
      if (x < r[0] + r[2] && r[0] < x + w && y < r[1] + r[3] && r[1] < y + h) return false;
    }
    return true;
  }
  void occupa(double x, double y, double w, double h) { occupate_.push_back({x, y, w, h}); }

 private:
  std::vector<std::array<double, 4>> occupate_;
};

void disegna_pianta(Pagina& p, const ScenarioDecodificato& s, const std::vector<Stazione>& stazioni,
                    double y0) {
  const double x = kMargineSinistro, w = kAreaX;
  p.testo(20, y0 + 16, "Plan of the track",
          "font-size=\"16\" font-weight=\"bold\" fill=\"#111827\"");
  const double top = y0 + 28;
  const double h = kAltezzaPianta;
  p.rettangolo(20, top, kLarghezza - 40, h, "fill=\"#f9fafb\" stroke=\"#d1d5db\"");
  if (!s.con_linea) {
    p.testo(kLarghezza / 2, top + h / 2,
            "no line file: the scenario was compiled without the line geometry",
            "font-size=\"14\" fill=\"#6b7280\" text-anchor=\"middle\"");
    return;
  }
  p.testo(175, y0 + 16,
          "solid: the route from start to end \xc2\xb7 dashed: the geometry's run-out beyond "
          "the end \xc2\xb7 circles every 10 km \xc2\xb7 blue: stations",
          "font-size=\"12\" fill=\"#6b7280\"");
  Pianta pianta(s.linea, x + 20, top + 30, w - 60, h - 60);
  if (!pianta.valida()) {
    p.testo(kLarghezza / 2, top + h / 2, "the line file holds no track points",
            "font-size=\"14\" fill=\"#6b7280\" text-anchor=\"middle\"");
    return;
  }
  // The track: a polyline broken where the geometry has no point, solid up
  // to the end of the route and dashed over the run-out the geometry has
  // beyond it. Labels keep off it.
  Etichette etichette;
  const std::int32_t ultima = s.linea.ultima_riga();
  const std::int32_t lunghezza = s.parametri[voce::treno].fine;
  const std::string stile_percorso = "stroke=\"" + std::string(kColoreBinario) +
                                     "\" stroke-width=\"2.2\" stroke-linejoin=\"round\"";
  const std::string stile_oltre =
      "stroke=\"#9ca3af\" stroke-width=\"1.6\" stroke-dasharray=\"6 4\"";
  std::vector<std::pair<double, double>> tratto;
  bool oltre = false;
  for (std::int32_t m = 0; m <= ultima; m += pianta.passo()) {
    const bool oltre_qui = lunghezza > 0 && m > lunghezza;
    double px, py;
    const bool c_e = pianta.pagina(oltre_qui && !oltre ? lunghezza : m, &px, &py);
    if (oltre_qui != oltre) {
      // Close the route at its end and start the run-out from the same point.
      if (c_e) tratto.emplace_back(px, py);
      p.polilinea(tratto, oltre ? stile_oltre : stile_percorso);
      tratto.clear();
      if (c_e) tratto.emplace_back(px, py);
      oltre = oltre_qui;
      if (!pianta.pagina(m, &px, &py)) continue;
    } else if (!c_e) {
      p.polilinea(tratto, oltre ? stile_oltre : stile_percorso);
      tratto.clear();
      continue;
    }
    tratto.emplace_back(px, py);
    etichette.occupa(px - 1.5, py - 1.5, 3, 3);
  }
  p.polilinea(tratto, oltre ? stile_oltre : stile_percorso);

  // The end of the route.
  double ex, ey;
  if (lunghezza > 0 && pianta.pagina(lunghezza, &ex, &ey)) {
    p.rettangolo(ex - 4, ey - 4, 8, 8, "fill=\"#111827\"");
    etichette.occupa(ex - 5, ey - 5, 10, 10);
  }

  // The start of the route, and a scale bar in the bottom-left corner: the
  // largest of 1, 2, 5, 10, 20, 50 km that fits 200 px.
  double sx, sy;
  if (pianta.pagina(0, &sx, &sy)) {
    p.cerchio(sx, sy, 5, "fill=\"#111827\"");
    p.testo(sx + 8, sy + 16, "start", "font-size=\"11\" fill=\"#111827\"");
    etichette.occupa(sx - 6, sy - 6, 12, 12);
    etichette.occupa(sx + 8, sy + 6, larghezza_testo(5, 11, false), 12);
  }
  double barra = 1000;
  for (double km : {2000.0, 5000.0, 10000.0, 20000.0, 50000.0}) {
    if (km * pianta.scala() <= 200) barra = km;
  }
  const double lb = barra * pianta.scala();
  const double bx = 40, by = top + h - 16;
  p.linea(bx, by, bx + lb, by, "stroke=\"#111827\" stroke-width=\"2\"");
  p.linea(bx, by - 4, bx, by + 4, "stroke=\"#111827\" stroke-width=\"2\"");
  p.linea(bx + lb, by - 4, bx + lb, by + 4, "stroke=\"#111827\" stroke-width=\"2\"");
  p.testo(bx + lb / 2, by - 7, num(barra / 1000) + " km",
          "font-size=\"11\" text-anchor=\"middle\" fill=\"#111827\"");
  etichette.occupa(bx - 2, by - 20, lb + 4, 26);

  // Kilometre dots every 10 km; their labels come last, where there is room.
  std::vector<std::pair<std::int32_t, std::pair<double, double>>> punti_km;
  for (std::int32_t km = 10; km * 1000 <= std::min(lunghezza, ultima); km += 10) {
    double px, py;
    if (!pianta.pagina(km * 1000, &px, &py)) continue;
    p.cerchio(px, py, 2.5, "fill=\"#ffffff\" stroke=\"#374151\"");
    etichette.occupa(px - 3, py - 3, 6, 6);
    punti_km.push_back({km, {px, py}});
  }

  // Stations: a dot and the name, in the first of the places around the
  // dot that nothing drawn so far covers.
  for (const Stazione& st : stazioni) {
    double px, py;
    if (!pianta.pagina(st.posizione, &px, &py)) continue;
    p.cerchio(
        px, py, 4.5,
        "fill=\"" + std::string(kColoreStazione) + "\" stroke=\"#ffffff\" stroke-width=\"1.5\"");
    etichette.occupa(px - 5, py - 5, 10, 10);
  }
  for (const Stazione& st : stazioni) {
    double px, py;
    if (!pianta.pagina(st.posizione, &px, &py)) continue;
    const std::string nome = testo_record(st.nome);
    const double tw = larghezza_testo(utf8_da_cp1252(st.nome).size(), 12, true);
    const double th = 14;
    const std::pair<double, double> posti[] = {
        {px + 8, py + 4},          {px - 8 - tw, py + 4},
        {px + 6, py - 8},          {px - 6 - tw, py - 8},
        {px + 6, py + th + 4},     {px - 6 - tw, py + th + 4},
        {px - tw / 2, py - 12},    {px - tw / 2, py + th + 8},
        {px + 8, py - th - 10},    {px - 8 - tw, py - th - 10},
        {px + 8, py + 2 * th + 6}, {px - 8 - tw, py + 2 * th + 6},
    };
    bool posta = false;
    for (const auto& [lx, ly] : posti) {
      if (!etichette.libera(lx, ly - th + 3, tw, th)) continue;
      p.testo(lx, ly, nome,
              "font-size=\"12\" fill=\"" + std::string(kColoreStazione) +
                  "\" font-weight=\"bold\" " + kAlone);
      etichette.occupa(lx, ly - th + 3, tw, th);
      posta = true;
      break;
    }
    if (!posta) {
      // Nowhere free: the first place, over what is there.
      p.testo(posti[0].first, posti[0].second, nome,
              "font-size=\"12\" fill=\"" + std::string(kColoreStazione) +
                  "\" font-weight=\"bold\" " + kAlone);
    }
  }
  if (lunghezza > 0 && pianta.pagina(lunghezza, &ex, &ey)) {
    const double tw = larghezza_testo(3, 11, false);
    for (const auto& [lx, ly] : {std::pair{ex + 8, ey + 16}, std::pair{ex - 8 - tw, ey + 16},
                                 std::pair{ex + 8, ey - 6}, std::pair{ex - 8 - tw, ey - 6}}) {
      if (!etichette.libera(lx, ly - 10, tw, 12)) continue;
      p.testo(lx, ly, "end", std::string("font-size=\"11\" fill=\"#111827\" ") + kAlone);
      etichette.occupa(lx, ly - 10, tw, 12);
      break;
    }
  }
  for (const auto& [km, punto] : punti_km) {
    const auto [px, py] = punto;
    const std::string t = "km " + std::to_string(km);
    const double tw = larghezza_testo(t.size(), 10, false);
    for (const auto& [lx, ly] : {std::pair{px + 5, py - 4}, std::pair{px - 5 - tw, py + 13},
                                 std::pair{px + 5, py + 13}, std::pair{px - 5 - tw, py - 4}}) {
      if (!etichette.libera(lx, ly - 10, tw, 11)) continue;
      p.testo(lx, ly, t, std::string("font-size=\"10\" fill=\"#4b5563\" ") + kAlone);
      etichette.occupa(lx, ly - 10, tw, 11);
      break;
    }
  }
}

/// The kilometre axis of the profile: metres to page x.
class AsseKm {
 public:
  explicit AsseKm(double metri) : metri_(std::max(metri, 1000.0)) {}
  double x(double m) const {
    return kMargineSinistro + std::clamp(m, 0.0, metri_) / metri_ * kAreaX;
  }
  double metri() const { return metri_; }
  /// The spacing of the labelled ticks, in km.
  int passo_km() const {
    const double km = metri_ / 1000;
    for (int p : {1, 2, 5, 10, 20, 50, 100}) {
      if (km / p <= 25) return p;
    }
    return 200;
  }

 private:
  double metri_;
};

/// A profile panel: a value range drawn over a height on the page.
struct Pannello {
  double y;  ///< top
  double h;  ///< height
  double minimo;
  double massimo;
  double Y(double v) const {
    return y + h - (std::clamp(v, minimo, massimo) - minimo) / (massimo - minimo) * h;
  }
};

/// A rounded-up bound for an axis, a multiple of `passo`.
double arrotonda_su(double v, double passo) {
  return std::ceil(v / passo) * passo;
}

void cornice_pannello(Pagina& p, const AsseKm& asse, const Pannello& pan, const std::string& nome,
                      const std::string& unita, double passo_y) {
  p.rettangolo(kMargineSinistro, pan.y, kAreaX, pan.h, "fill=\"#ffffff\" stroke=\"#9ca3af\"");
  for (double v = arrotonda_su(pan.minimo, passo_y); v <= pan.massimo + 1e-9; v += passo_y) {
    const double y = pan.Y(v);
    p.linea(kMargineSinistro, y, kMargineSinistro + kAreaX, y,
            "stroke=\"" + std::string(kColoreGriglia) + "\"");
    p.linea(kMargineSinistro - 4, y, kMargineSinistro, y, "stroke=\"#6b7280\"");
    p.testo(kMargineSinistro - 7, y + 4, num(v),
            "font-size=\"11\" text-anchor=\"end\" fill=\"#374151\"");
  }
  // The vertical grid of the kilometre axis.
  for (int km = 0; km * 1000.0 <= asse.metri(); km += asse.passo_km()) {
    const double x = asse.x(km * 1000.0);
    p.linea(x, pan.y, x, pan.y + pan.h, "stroke=\"" + std::string(kColoreGriglia) + "\"");
  }
  // The panel's name, turned along its left edge.
  const double cy = pan.y + pan.h / 2;
  p.testo(40, cy, nome + " (" + unita + ")",
          "font-size=\"12\" fill=\"#111827\" text-anchor=\"middle\" transform=\"rotate(-90 40 " +
              num(cy) + ")\"");
}

/// A step line over the cells: cell c's value holds from c × 50 to
/// (c + 1) × 50 metres.
std::vector<std::pair<double, double>> gradini(const std::vector<Cella>& celle, const AsseKm& asse,
                                               const Pannello& pan,
                                               double (*valore)(const Cella&)) {
  std::vector<std::pair<double, double>> punti;
  double precedente = NAN;
  for (std::size_t c = 0; c < celle.size(); ++c) {
    const double da = static_cast<double>(c) * 50;
    if (da >= asse.metri()) break;
    const double v = valore(celle[c]);
    const double y = pan.Y(v);
    if (v != precedente) {
      if (!punti.empty()) punti.emplace_back(asse.x(da), punti.back().second);
      punti.emplace_back(asse.x(da), y);
      precedente = v;
    }
  }
  if (!punti.empty()) {
    const double fine = std::min(static_cast<double>(celle.size()) * 50, asse.metri());
    punti.emplace_back(asse.x(fine), punti.back().second);
  }
  return punti;
}

double velocita_di(const Cella& c) {
  return c.velocita * 5.0;
}
double pendenza_di(const Cella& c) {
  return c.pendenza - 100.0;
}
double aderenza_di(const Cella& c) {
  return c.aderenza;
}

std::string riempi(const char* colore) {
  return std::string("fill=\"") + colore + "\"";
}

/// The names of the lanes of marks, top to bottom.
constexpr int kStazioni = 0;
constexpr int kSegnali = 1;
constexpr int kCartelli = 2;
constexpr int kTabelle = 3;
constexpr int kRallentamenti = 4;
constexpr int kCodici = 5;
constexpr int kMontagne = 6;
constexpr int kNumeroCorsie = 7;
constexpr const char* kNomiCorsie[kNumeroCorsie] = {
    "stations", "signals", "sign boards", "speed boards", "slowdowns", "code cells", "mountain"};

/// A label in the row of station names above the lanes.
struct Nome {
  double centro;
  double larghezza;
  int riga;
};

/// Puts each station name in the first row where it does not overlap the
/// names already there; past the last row, in the row that ends first.
std::vector<Nome> disponi_nomi(const std::vector<Stazione>& stazioni, const AsseKm& asse,
                               int* righe) {
  std::vector<Nome> nomi;
  std::vector<double> fine_riga;
  for (const Stazione& st : stazioni) {
    const double w = larghezza_testo(utf8_da_cp1252(st.nome).size(), 12, true) + 10;
    double centro = asse.x(st.posizione);
    centro = std::clamp(centro, kMargineSinistro + w / 2 - 40, kLarghezza - 10 - w / 2);
    int scelta = -1;
    for (std::size_t r = 0; r < fine_riga.size(); ++r) {
      if (fine_riga[r] <= centro - w / 2) {
        scelta = static_cast<int>(r);
        break;
      }
    }
    if (scelta < 0 && static_cast<int>(fine_riga.size()) < kRigheNomiMassime) {
      fine_riga.push_back(-INFINITY);
      scelta = static_cast<int>(fine_riga.size()) - 1;
    }
    if (scelta < 0) {
      scelta = static_cast<int>(std::min_element(fine_riga.begin(), fine_riga.end()) -
                                fine_riga.begin());
    }
    fine_riga[static_cast<std::size_t>(scelta)] = centro + w / 2;
    nomi.push_back({centro, w, scelta});
  }
  *righe = static_cast<int>(fine_riga.size());
  return nomi;
}

void voce_legenda(Pagina& p, double* x, double y, const std::string& simbolo,
                  const std::string& testo) {
  p.grezzo("<g transform=\"translate(" + num(*x) + " " + num(y) + ")\">" + simbolo + "</g>\n");
  p.testo(*x + 26, y + 4, testo, "font-size=\"12\" fill=\"#111827\"");
  *x += 26 + larghezza_testo(testo.size(), 12, false) + 26;
}

}  // namespace

std::string disegna_scenario(const ScenarioDecodificato& s) {
  const std::vector<Stazione> stazioni = stazioni_di(s);
  const std::vector<Cella>& celle = s.celle;

  // What the profile shows: the route, and any element placed beyond it.
  double ultimo = std::max<double>(s.parametri[voce::treno].fine, 0);
  std::int32_t segnali = 0, cartelli = 0, tabelle = 0, rallentamenti_n = 0, codici = 0;
  for (std::size_t c = 0; c < celle.size(); ++c) {
    const std::uint8_t t = celle[c].tipo;
    if (c > 1 && t != 0 && t != tipo_cella::marcatore_montagna) {
      ultimo = std::max(ultimo, metri_elemento(c) + 50);
    }
    segnali += t == tipo_cella::segnale;
    cartelli += t == tipo_cella::cartello;
    tabelle += t == tipo_cella::indicatori_v_max;
    rallentamenti_n += t == tipo_cella::inizio_rallentamento;
    codici += t == tipo_cella::codice || t == tipo_cella::codice_senza_valore;
  }
  for (const Stazione& st : stazioni) ultimo = std::max<double>(ultimo, st.fine);
  if (ultimo <= 0) ultimo = std::max<double>(static_cast<double>(celle.size()) - 1, 1) * 50;
  const AsseKm asse(arrotonda_su(ultimo, 1000));

  Pagina p;
  // Title.
  const std::string titolo =
      xml_testo(s.nome_percorso) + " \xe2\x80\x94 train " + xml_testo(s.numero_treno);
  p.testo(20, 34, titolo, "font-size=\"24\" font-weight=\"bold\" fill=\"#111827\"");
  const std::string punto = " \xc2\xb7 ";
  char km[32];
  std::snprintf(km, sizeof km, "%.3f", s.parametri[voce::treno].fine / 1000.0);
  const std::string riassunto =
      std::string("route ") + km + " km" + punto +
      plurale(static_cast<std::int32_t>(stazioni.size()), "station", "stations") + punto +
      plurale(segnali, "signal", "signals") + punto +
      plurale(rallentamenti_n, "slowdown", "slowdowns") + punto +
      plurale(cartelli, "sign board", "sign boards") + punto +
      plurale(tabelle, "speed-board pair", "speed-board pairs") + punto +
      plurale(codici, "code cell", "code cells");
  p.testo(20, 56, riassunto, "font-size=\"13\" fill=\"#4b5563\"");

  double y = 76;
  disegna_pianta(p, s, stazioni, y);
  y += 28 + kAltezzaPianta + 30;

  p.testo(20, y + 16, "Profile along the route",
          "font-size=\"16\" font-weight=\"bold\" fill=\"#111827\"");
  y += 30;

  // Station names, in as many rows as they need, with a leader to the lane.
  int righe = 0;
  const std::vector<Nome> nomi = disponi_nomi(stazioni, asse, &righe);
  const double y_nomi = y;
  const double y_corsie = y + righe * kRigaNomi + 8;
  for (std::size_t i = 0; i < stazioni.size(); ++i) {
    const Stazione& st = stazioni[i];
    const Nome& n = nomi[i];
    const double base = y_nomi + (n.riga + 1) * kRigaNomi - 4;
    const double xs = asse.x(st.posizione);
    p.linea(xs, base + 3, xs, y_corsie + kAltezzaCorsia * (kStazioni + 0.5),
            "stroke=\"" + std::string(kColoreStazione) +
                "\" stroke-width=\"0.8\" stroke-dasharray=\"2 2\"");
    const std::string ora = orario(s.parametri[static_cast<std::size_t>(st.voce)].orario);
    p.apri_gruppo(testo_record(st.nome) + " \xe2\x80\x94 entry " + std::to_string(st.voce) +
                  ", position " + std::to_string(st.posizione) + " m, area " +
                  std::to_string(st.inizio) + " to " + std::to_string(st.fine) + " m" +
                  (ora.empty() ? "" : ", time " + ora));
    p.rettangolo(n.centro - n.larghezza / 2, base - 12, n.larghezza, 15,
                 "fill=\"#ffffff\" fill-opacity=\"0.85\"");
    p.testo(n.centro, base, testo_record(st.nome),
            "font-size=\"12\" font-weight=\"bold\" text-anchor=\"middle\" fill=\"" +
                std::string(kColoreStazione) + "\"");
    p.chiudi_gruppo();
  }

  // The lanes of marks.
  auto corsia_y = [&](int corsia) { return y_corsie + corsia * kAltezzaCorsia; };
  for (int k = 0; k < kNumeroCorsie; ++k) {
    p.rettangolo(kMargineSinistro, corsia_y(k), kAreaX, kAltezzaCorsia,
                 k % 2 ? "fill=\"#ffffff\"" : "fill=\"#f3f4f6\"");
    p.testo(kMargineSinistro - 8, corsia_y(k) + kAltezzaCorsia / 2 + 4, kNomiCorsie[k],
            "font-size=\"12\" text-anchor=\"end\" fill=\"#374151\"");
  }
  for (int km = 0; km * 1000.0 <= asse.metri(); km += asse.passo_km()) {
    const double x = asse.x(km * 1000.0);
    p.linea(x, corsia_y(0), x, corsia_y(kNumeroCorsie), "stroke=\"#d1d5db\" stroke-width=\"0.6\"");
  }
  const double centro_corsia = kAltezzaCorsia / 2;
  for (const Stazione& st : stazioni) {
    const double x1 = asse.x(st.inizio), x2 = asse.x(st.fine);
    p.apri_gruppo(testo_record(st.nome));
    p.rettangolo(x1, corsia_y(kStazioni) + 4, std::max(x2 - x1, 2.0), kAltezzaCorsia - 8,
                 riempi(kColoreStazione) + " fill-opacity=\"0.75\"");
    p.chiudi_gruppo();
  }
  // Slowdowns: the band from each start to the end that follows it.
  std::vector<Rallentamento> rallentamenti;
  double inizio_aperto = -1;
  std::int32_t velocita_aperta = 0;
  for (std::size_t c = 0; c < celle.size(); ++c) {
    const Cella& cella = celle[c];
    const double m = metri_elemento(c);
    const double x = asse.x(m);
    switch (cella.tipo) {
      case tipo_cella::segnale: {
        const double ys = corsia_y(kSegnali) + centro_corsia;
        p.apri_gruppo("signal at " + num(m) + " m (cell " + std::to_string(c) + ")");
        p.poligono({{x, ys - 7}, {x - 5, ys + 6}, {x + 5, ys + 6}}, riempi(kColoreSegnale));
        p.chiudi_gruppo();
        break;
      }
      case tipo_cella::cartello: {
        std::string testo = "sign board at " + num(m) + " m";
        if (cella.dato1 >= 1 && cella.dato1 <= voce::ultimo_cartello) {
          testo += ": " + testo_record(s.parametri[static_cast<std::size_t>(cella.dato1)].nome);
        }
        p.apri_gruppo(testo);
        p.rettangolo(x - 1, corsia_y(kCartelli) + 5, 2.4, kAltezzaCorsia - 10,
                     riempi(kColoreCartello));
        p.chiudi_gruppo();
        break;
      }
      case tipo_cella::indicatori_v_max: {
        const double yt = corsia_y(kTabelle) + centro_corsia;
        p.apri_gruppo(
            "maximum-speed boards at " + num(m) + " m: dato1=" + std::to_string(cella.dato1) +
            " dato2=" + std::to_string(cella.dato2) + " dato3=" + std::to_string(cella.dato3));
        p.poligono({{x, yt - 6}, {x + 6, yt}, {x, yt + 6}, {x - 6, yt}}, riempi(kColoreTabelle));
        p.chiudi_gruppo();
        break;
      }
      case tipo_cella::avviso_rallentamento: {
        const double yr = corsia_y(kRallentamenti) + centro_corsia;
        p.apri_gruppo("slowdown warning board at " + num(m) + " m: " + std::to_string(cella.dato1) +
                      " km/h");
        p.poligono({{x - 5, yr - 6}, {x + 5, yr - 6}, {x, yr + 6}},
                   "fill=\"#ffffff\" stroke=\"" + std::string(kColoreRallentamento) +
                       "\" stroke-width=\"1.5\"");
        p.chiudi_gruppo();
        break;
      }
      case tipo_cella::inizio_rallentamento:
        inizio_aperto = m;
        velocita_aperta = cella.dato1;
        break;
      case tipo_cella::fine_rallentamento:
        if (inizio_aperto >= 0) {
          rallentamenti.push_back({inizio_aperto, m, velocita_aperta});
          inizio_aperto = -1;
        }
        break;
      case tipo_cella::codice:
      case tipo_cella::codice_senza_valore: {
        const double yk = corsia_y(kCodici);
        p.apri_gruppo((cella.tipo == tipo_cella::codice ? "code cell " + std::to_string(cella.dato1)
                                                        : std::string("code cell without value")) +
                      " at " + num(m) + " m");
        p.rettangolo(x - 1.2, yk + 4, 2.4, kAltezzaCorsia - 8, riempi(kColoreCodice));
        p.chiudi_gruppo();
        break;
      }
      default:
        break;
    }
  }
  for (const Rallentamento& r : rallentamenti) {
    const double x1 = asse.x(r.da), x2 = asse.x(r.a);
    p.apri_gruppo("slowdown " + num(r.da) + " to " + num(r.a) + " m at " +
                  std::to_string(r.velocita) + " km/h");
    p.rettangolo(x1, corsia_y(kRallentamenti) + 4, std::max(x2 - x1, 3.0), kAltezzaCorsia - 8,
                 riempi(kColoreRallentamento));
    p.testo(x2 + 6, corsia_y(kRallentamenti) + centro_corsia + 4,
            std::to_string(r.velocita) + " km/h",
            "font-size=\"11\" fill=\"" + std::string(kColoreRallentamento) + "\"");
    p.chiudi_gruppo();
  }
  // Mountain sections: runs of cells with a mountain type.
  for (std::size_t c = 0; c < celle.size();) {
    if (celle[c].montagna == 0) {
      ++c;
      continue;
    }
    const std::size_t da = c;
    while (c < celle.size() && celle[c].montagna != 0) ++c;
    const double x1 = asse.x(static_cast<double>(da) * 50);
    const double x2 = asse.x(static_cast<double>(c) * 50);
    p.apri_gruppo("mountain section " + num(static_cast<double>(da) * 50) + " to " +
                  num(static_cast<double>(c) * 50) + " m");
    p.rettangolo(x1, corsia_y(kMontagne) + 5, std::max(x2 - x1, 2.0), kAltezzaCorsia - 10,
                 riempi(kColoreMontagna) + " fill-opacity=\"0.6\"");
    p.chiudi_gruppo();
  }
  p.rettangolo(kMargineSinistro, corsia_y(0), kAreaX, kNumeroCorsie * kAltezzaCorsia,
               "fill=\"none\" stroke=\"#9ca3af\"");
  y = corsia_y(kNumeroCorsie) + kSpazioPannelli;

  // The cells under the axis set the ranges of the panels.
  const std::size_t sotto_asse =
      std::min(celle.size(), static_cast<std::size_t>(std::ceil(asse.metri() / 50)));
  const std::vector<Cella> profilo(celle.begin(), celle.begin() + static_cast<long>(sotto_asse));

  // Speed limit, with each slowdown's speed over its stretch.
  double vmax = 40;
  for (const Cella& c : profilo) vmax = std::max(vmax, velocita_di(c));
  const Pannello velocita{y, kAltezzaVelocita, 0, arrotonda_su(vmax + 5, 20)};
  cornice_pannello(p, asse, velocita, "speed limit", "km/h", velocita.massimo > 200 ? 40 : 20);
  p.polilinea(gradini(celle, asse, velocita, velocita_di),
              "stroke=\"" + std::string(kColoreVelocita) + "\" stroke-width=\"1.8\"");
  for (const Rallentamento& r : rallentamenti) {
    const double yv = velocita.Y(r.velocita);
    p.linea(asse.x(r.da), yv, asse.x(r.a), yv,
            "stroke=\"" + std::string(kColoreRallentamento) +
                "\" stroke-width=\"2.5\" stroke-dasharray=\"4 2\"");
  }
  y += kAltezzaVelocita + kSpazioPannelli;

  double gmax = 5;
  for (const Cella& c : profilo) gmax = std::max(gmax, std::fabs(pendenza_di(c)));
  gmax = arrotonda_su(gmax, 5);
  const Pannello pendenza{y, kAltezzaPendenza, -gmax, gmax};
  cornice_pannello(p, asse, pendenza, "gradient", "\xe2\x80\xb0", gmax > 20 ? 10 : 5);
  p.linea(kMargineSinistro, pendenza.Y(0), kMargineSinistro + kAreaX, pendenza.Y(0),
          "stroke=\"#6b7280\" stroke-width=\"0.8\"");
  p.polilinea(gradini(celle, asse, pendenza, pendenza_di),
              "stroke=\"" + std::string(kColorePendenza) + "\" stroke-width=\"1.8\"");
  y += kAltezzaPendenza + kSpazioPannelli;

  double amax = 100;
  for (const Cella& c : profilo) amax = std::max(amax, aderenza_di(c));
  const Pannello aderenza{y, kAltezzaAderenza, 0, arrotonda_su(amax, 50)};
  cornice_pannello(p, asse, aderenza, "adhesion", "value", 50);
  p.polilinea(gradini(celle, asse, aderenza, aderenza_di),
              "stroke=\"" + std::string(kColoreAderenza) + "\" stroke-width=\"1.8\"");
  y += kAltezzaAderenza;

  // The kilometre axis.
  // Labelled ticks, and five small ones between each two.
  const int passo_piccolo = std::max(1, asse.passo_km() / 5);
  for (int km = 0; km * 1000.0 <= asse.metri(); km += passo_piccolo) {
    const double x = asse.x(km * 1000.0);
    const bool etichetta = km % asse.passo_km() == 0;
    p.linea(x, y, x, y + (etichetta ? 7 : 3), "stroke=\"#374151\"");
    if (etichetta) {
      p.testo(x, y + 20, std::to_string(km),
              "font-size=\"11\" text-anchor=\"middle\" fill=\"#374151\"");
    }
  }
  p.testo(kMargineSinistro + kAreaX / 2, y + 40, "route position (km)",
          "font-size=\"13\" text-anchor=\"middle\" fill=\"#111827\"");
  y += 62;

  // Legend.
  p.testo(20, y + 4, "Legend", "font-size=\"13\" font-weight=\"bold\" fill=\"#111827\"");
  double x = kMargineSinistro;
  auto tratto = [](const char* colore, const char* extra) {
    return std::string("<line x1=\"0\" y1=\"0\" x2=\"20\" y2=\"0\" stroke=\"") + colore +
           "\" stroke-width=\"2.5\" " + extra + "/>";
  };
  voce_legenda(p, &x, y, tratto(kColoreVelocita, ""), "speed limit");
  voce_legenda(p, &x, y, tratto(kColoreRallentamento, "stroke-dasharray=\"4 2\""),
               "slowdown speed");
  voce_legenda(p, &x, y, tratto(kColorePendenza, ""), "gradient");
  voce_legenda(p, &x, y, tratto(kColoreAderenza, ""), "adhesion");
  voce_legenda(p, &x, y,
               std::string("<rect x=\"0\" y=\"-5\" width=\"20\" height=\"10\" fill=\"") +
                   kColoreStazione + "\"/>",
               "station area");
  voce_legenda(p, &x, y,
               std::string("<polygon points=\"10,-7 5,6 15,6\" fill=\"") + kColoreSegnale + "\"/>",
               "signal");
  const double y2 = y + 24;
  x = kMargineSinistro;
  voce_legenda(p, &x, y2,
               std::string("<rect x=\"9\" y=\"-6\" width=\"2.4\" height=\"12\" fill=\"") +
                   kColoreCartello + "\"/>",
               "sign board");
  voce_legenda(
      p, &x, y2,
      std::string("<polygon points=\"10,-6 16,0 10,6 4,0\" fill=\"") + kColoreTabelle + "\"/>",
      "maximum-speed boards");
  voce_legenda(p, &x, y2,
               std::string("<polygon points=\"5,-6 15,-6 10,6\" fill=\"#ffffff\" stroke=\"") +
                   kColoreRallentamento + "\" stroke-width=\"1.5\"/>",
               "slowdown warning board");
  voce_legenda(p, &x, y2,
               std::string("<rect x=\"0\" y=\"-5\" width=\"20\" height=\"10\" fill=\"") +
                   kColoreRallentamento + "\"/>",
               "slowdown");
  voce_legenda(p, &x, y2,
               std::string("<rect x=\"9\" y=\"-6\" width=\"2.4\" height=\"12\" fill=\"") +
                   kColoreCodice + "\"/>",
               "code cell");
  voce_legenda(p, &x, y2,
               std::string("<rect x=\"0\" y=\"-4\" width=\"20\" height=\"8\" fill=\"") +
                   kColoreMontagna + "\" fill-opacity=\"0.6\"/>",
               "mountain section");
  const double altezza = y2 + 30;

  std::string svg =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
      num(kLarghezza) + "\" height=\"" + num(altezza) + "\" viewBox=\"0 0 " + num(kLarghezza) +
      " " + num(altezza) +
      "\" font-family=\"DejaVu Sans, Verdana, Arial, sans-serif\">\n"
      "<title>" +
      titolo + "</title>\n<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  svg += p.svg();
  svg += "</svg>\n";
  return svg;
}

}  // namespace scenario
