#include "tools/render.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "tools/plan_drawing.h"
#include "tools/profile_axis.h"
#include "tools/profile_lanes.h"
#include "tools/profile_panels.h"
#include "tools/render_layout.h"
#include "tools/svg_page.h"
#include "tools/wording.h"

namespace scenario {

namespace {

/// Heights of the title, of the profile's heading and of the legend.
constexpr double kAltezzaTitolo = 76;
constexpr double kAltezzaIntestazione = 30;
constexpr double kAltezzaLegenda = 54;
/// The legend's second row, under the first.
constexpr double kRigaLegenda = 24;
/// Room before a legend entry's text, after its symbol, and after the text.
constexpr double kSimboloLegenda = 26;

const char* const kPunto = " \xc2\xb7 ";
const char* const kLineetta = " \xe2\x80\x94 ";

/// Lays the page's sections out from the top, one under the other.
class Cursore {
 public:
  /// The top of the next section.
  double y() const { return y_; }
  /// The top of a section `altezza` tall, placed under the previous one.
  double prendi(double altezza) {
    const double cima = y_;
    y_ += altezza;
    return cima;
  }

 private:
  double y_ = 0;
};

/// The title and, under it, what the scenario holds.
void disegna_titolo(Pagina& p, const ScenarioDecodificato& s, std::size_t stazioni,
                    const ConteggioElementi& n, double y) {
  p.testo(kMargine, y + 34, s.nome_percorso + kLineetta + "train " + s.numero_treno, Stile::titolo);
  char km[32];
  std::snprintf(km, sizeof km, "%.3f", lunghezza_percorso(s.parametri) / double{kMetriKm});
  p.testo(kMargine, y + 56,
          std::string("route ") + km + " km" + kPunto +
              plurale(static_cast<std::int64_t>(stazioni), "station", "stations") + kPunto +
              plurale(n.segnali, "signal", "signals") + kPunto +
              plurale(n.rallentamenti, "slowdown", "slowdowns") + kPunto +
              plurale(n.cartelli, "sign board", "sign boards") + kPunto +
              plurale(n.tabelle, "speed-board pair", "speed-board pairs") + kPunto +
              plurale(n.codici, "code cell", "code cells"),
          Stile::riassunto);
}

/// One legend entry: the symbol, drawn about (0, 0), and its text.
struct VoceLegenda {
  const char* testo;
  void (*simbolo)(Pagina&);
};

constexpr VoceLegenda kLegenda[2][6] = {
    {
        {"speed limit",
         [](Pagina& p) {
           p.linea(0, 0, 20, 0, {Stile::linea_velocita, Stile::tratto_legenda});
         }},
        {"slowdown speed",
         [](Pagina& p) {
           p.linea(0, 0, 20, 0, {Stile::linea_rallentamento, Stile::tratto_legenda});
         }},
        {"gradient",
         [](Pagina& p) {
           p.linea(0, 0, 20, 0, {Stile::linea_pendenza, Stile::tratto_legenda});
         }},
        {"adhesion",
         [](Pagina& p) {
           p.linea(0, 0, 20, 0, {Stile::linea_aderenza, Stile::tratto_legenda});
         }},
        {"station area", [](Pagina& p) { p.rettangolo(0, -5, 20, 10, Stile::area_stazione); }},
        {"signal",
         [](Pagina& p) {
           p.poligono({{10, -7}, {5, 6}, {15, 6}}, Stile::segnale);
         }},
    },
    {
        {"sign board", [](Pagina& p) { p.rettangolo(9, -6, 2.4, 12, Stile::cartello); }},
        {"maximum-speed boards",
         [](Pagina& p) {
           p.poligono({{10, -6}, {16, 0}, {10, 6}, {4, 0}}, Stile::tabelle);
         }},
        {"slowdown warning board",
         [](Pagina& p) {
           p.poligono({{5, -6}, {15, -6}, {10, 6}}, Stile::avviso_rallentamento);
         }},
        {"slowdown", [](Pagina& p) { p.rettangolo(0, -5, 20, 10, Stile::rallentamento); }},
        {"code cell", [](Pagina& p) { p.rettangolo(9, -6, 2.4, 12, Stile::codice); }},
        {"mountain section", [](Pagina& p) { p.rettangolo(0, -4, 20, 8, Stile::montagna); }},
    },
};

/// The legend: its heading, and its entries in two rows, the first
/// centred on `y`.
void disegna_legenda(Pagina& p, double y) {
  p.testo(kMargine, y + 4, "Legend", Stile::titolo_legenda);
  for (const auto& riga : kLegenda) {
    double x = kMargineSinistro;
    for (const VoceLegenda& v : riga) {
      p.apri_spostato(x, y);
      v.simbolo(p);
      p.chiudi_gruppo();
      p.testo(x + kSimboloLegenda, y + 4, v.testo, Stile::voce_legenda);
      x += kSimboloLegenda + larghezza_testo(v.testo, Stile::voce_legenda) + kSimboloLegenda;
    }
    y += kRigaLegenda;
  }
}

/// The route metres the profile shows: the route, and any element placed
/// or station reaching beyond it, rounded up to a kilometre.
AsseKm asse_di(const ScenarioDecodificato& s, const std::vector<Stazione>& stazioni) {
  double ultimo = std::max<double>(lunghezza_percorso(s.parametri), 0);
  // Cell 1 holds the route's marker, which stands for no place.
  for (std::size_t c = 2; c < s.celle.size(); ++c) {
    const std::uint8_t t = s.celle[c].tipo;
    if (t != tipo_cella::vuota && t != tipo_cella::marcatore_montagna) {
      ultimo = std::max<double>(ultimo, static_cast<double>(metri_elemento(c) + kMetriCella));
    }
  }
  for (const Stazione& st : stazioni) ultimo = std::max<double>(ultimo, st.fine);
  if (ultimo <= 0) {
    ultimo = std::max<double>(static_cast<double>(s.celle.size()) - 1, 1) * kMetriCella;
  }
  return AsseKm(arrotonda_su(ultimo, kMetriKm));
}

}  // namespace

std::string disegna_scenario(const ScenarioDecodificato& s) {
  const std::vector<Stazione> stazioni = stazioni_di(s.parametri);
  const std::vector<Rallentamento> rallentamenti = rallentamenti_di(s.celle);
  const AsseKm asse = asse_di(s, stazioni);

  Pagina p;
  Cursore y;
  disegna_titolo(p, s, stazioni.size(), conta_elementi(s.celle), y.prendi(kAltezzaTitolo));
  disegna_pianta(p, s, stazioni, y.prendi(kAltezzaSezionePianta));
  p.testo(kMargine, y.prendi(kAltezzaIntestazione) + kBaseIntestazione, "Profile along the route",
          Stile::sezione);
  y.prendi(disegna_corsie(p, s, stazioni, rallentamenti, asse, y.y()));
  y.prendi(kSpazioPannelli);
  disegna_velocita(p, s.celle, rallentamenti, asse, y.prendi(kAltezzaVelocita));
  y.prendi(kSpazioPannelli);
  disegna_pendenza(p, s.celle, asse, y.prendi(kAltezzaPendenza));
  y.prendi(kSpazioPannelli);
  disegna_aderenza(p, s.celle, asse, y.prendi(kAltezzaAderenza));
  disegna_asse_km(p, asse, y.prendi(kAltezzaAsse));
  disegna_legenda(p, y.prendi(kAltezzaLegenda));
  return p.documento(kLarghezzaPagina, y.y(),
                     s.nome_percorso + kLineetta + "train " + s.numero_treno);
}

}  // namespace scenario
