#include "tools/profile_lanes.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "tools/render_layout.h"
#include "tools/text_encoding.h"
#include "tools/wording.h"

namespace scenario {

namespace {

constexpr double kAltezzaCorsia = 22;
/// Height of a row of station names, and the most rows there are.
constexpr double kRigaNomi = 17;
constexpr int kRigheNomiMassime = 6;
/// Space between the names and the lanes.
constexpr double kSottoNomi = 8;
/// Room left around a name, and how far a name may reach into the margin.
constexpr double kAriaNome = 10;
constexpr double kNomeNelMargine = 40;

/// The lanes of marks, top to bottom.
enum Corsia { kStazioni, kSegnali, kCartelli, kTabelle, kRallentamenti, kCodici, kMontagne };
constexpr int kNumeroCorsie = 7;
constexpr const char* kNomiCorsie[kNumeroCorsie] = {
    "stations", "signals", "sign boards", "speed boards", "slowdowns", "code cells", "mountain"};

/// A station name in the rows above the lanes.
struct Nome {
  std::string testo;  ///< UTF-8
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
    std::string testo = testo_mostrato(st.nome);
    const double w = larghezza_testo(testo, Stile::nome_stazione) + kAriaNome;
    const double centro =
        std::clamp(asse.x(st.posizione), kMargineSinistro + w / 2 - kNomeNelMargine,
                   kLarghezzaPagina - kAriaNome - w / 2);
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
    nomi.push_back({std::move(testo), centro, w, scelta});
  }
  *righe = static_cast<int>(fine_riga.size());
  return nomi;
}

/// What the tooltip of a station says.
std::string descrizione(const Stazione& st) {
  const std::string ora = orario(st.orario);
  return testo_mostrato(st.nome) + " \xe2\x80\x94 entry " + std::to_string(st.voce) +
         ", position " + std::to_string(st.posizione) + " m, area " + std::to_string(st.inizio) +
         " to " + std::to_string(st.fine) + " m" + (ora.empty() ? "" : ", time " + ora);
}

/// Where the lanes stand on the page.
struct Corsie {
  double cima;
  /// Top of lane `k`.
  double y(int k) const { return cima + k * kAltezzaCorsia; }
  /// Middle of lane `k`.
  double centro(int k) const { return y(k) + kAltezzaCorsia / 2; }
};

/// The station names in their rows from `y`, each with a leader down to
/// the middle of the station lane.
void disegna_nomi(Pagina& p, const std::vector<Stazione>& stazioni, const std::vector<Nome>& nomi,
                  const AsseKm& asse, double y, const Corsie& corsie) {
  for (std::size_t i = 0; i < stazioni.size(); ++i) {
    const Stazione& st = stazioni[i];
    const Nome& n = nomi[i];
    const double base = y + (n.riga + 1) * kRigaNomi - 4;
    const double x = asse.x(st.posizione);
    p.linea(x, base + 3, x, corsie.centro(kStazioni), Stile::guida_stazione);
    p.apri_gruppo(descrizione(st));
    p.rettangolo(n.centro - n.larghezza / 2, base - 12, n.larghezza, 15, Stile::fondo_nome);
    p.testo(n.centro, base, n.testo, Stile::nome_stazione);
    p.chiudi_gruppo();
  }
}

/// The lanes, their names and the kilometre grid over them.
void disegna_fondo(Pagina& p, const AsseKm& asse, const Corsie& corsie) {
  for (int k = 0; k < kNumeroCorsie; ++k) {
    p.rettangolo(kMargineSinistro, corsie.y(k), kAreaX, kAltezzaCorsia,
                 k % 2 ? Stile::corsia_dispari : Stile::corsia_pari);
    p.testo(kMargineSinistro - 8, corsie.centro(k) + 4, kNomiCorsie[k], Stile::nome_corsia);
  }
  disegna_griglia_km(p, asse, corsie.y(0), corsie.y(kNumeroCorsie), Stile::griglia_corsie);
}

/// The lane of the mark of element code `tipo`; -1 for an element drawn
/// otherwise or not at all.
int corsia_di(std::uint8_t tipo) {
  switch (tipo) {
    case tipo_cella::segnale:
      return kSegnali;
    case tipo_cella::cartello:
      return kCartelli;
    case tipo_cella::indicatori_v_max:
      return kTabelle;
    case tipo_cella::avviso_rallentamento:
      return kRallentamenti;
    case tipo_cella::codice:
    case tipo_cella::codice_senza_valore:
      return kCodici;
    default:
      return -1;
  }
}

/// The text of the sign board in cell `cella`, as its tooltip shows it.
std::string testo_cartello(const ScenarioDecodificato& s, const Cella& cella) {
  if (cella.dato1 < voce::prima_stazione || cella.dato1 > voce::ultimo_cartello) return "";
  return ": " + testo_mostrato(s.parametri[static_cast<std::size_t>(cella.dato1)].nome);
}

/// The tooltip of the element in cell `c`.
std::string titolo_elemento(const ScenarioDecodificato& s, std::size_t c) {
  const Cella& cella = s.celle[c];
  const std::string dove = " at " + num(static_cast<double>(metri_elemento(c))) + " m";
  switch (cella.tipo) {
    case tipo_cella::segnale:
      return "signal" + dove + " (cell " + std::to_string(c) + ")";
    case tipo_cella::cartello:
      return "sign board" + dove + testo_cartello(s, cella);
    case tipo_cella::indicatori_v_max:
      return "maximum-speed boards" + dove + ": dato1=" + std::to_string(cella.dato1) +
             " dato2=" + std::to_string(cella.dato2) + " dato3=" + std::to_string(cella.dato3);
    case tipo_cella::avviso_rallentamento:
      return "slowdown warning board" + dove + ": " + std::to_string(cella.dato1) + " km/h";
    case tipo_cella::codice:
      return "code cell " + std::to_string(cella.dato1) + dove;
    default:
      return "code cell without value" + dove;
  }
}

/// The mark of element `cella` at `x`, in its lane.
void disegna_segno(Pagina& p, const Cella& cella, double x, const Corsie& corsie) {
  switch (cella.tipo) {
    case tipo_cella::segnale: {
      const double yc = corsie.centro(kSegnali);
      p.poligono({{x, yc - 7}, {x - 5, yc + 6}, {x + 5, yc + 6}}, Stile::segnale);
      break;
    }
    case tipo_cella::cartello:
      p.rettangolo(x - 1, corsie.y(kCartelli) + 5, 2.4, kAltezzaCorsia - 10, Stile::cartello);
      break;
    case tipo_cella::indicatori_v_max: {
      const double yc = corsie.centro(kTabelle);
      p.poligono({{x, yc - 6}, {x + 6, yc}, {x, yc + 6}, {x - 6, yc}}, Stile::tabelle);
      break;
    }
    case tipo_cella::avviso_rallentamento: {
      const double yc = corsie.centro(kRallentamenti);
      p.poligono({{x - 5, yc - 6}, {x + 5, yc - 6}, {x, yc + 6}}, Stile::avviso_rallentamento);
      break;
    }
    default:
      p.rettangolo(x - 1.2, corsie.y(kCodici) + 4, 2.4, kAltezzaCorsia - 8, Stile::codice);
      break;
  }
}

/// Marks in one lane that stand closer than this, in pixels, to the first
/// of their run are drawn as one: a lane holds a mark every few pixels at
/// most, however many elements the cells carry.
constexpr double kDistanzaSegni = 1;

/// The elements of one lane drawn as one mark.
struct Gruppo {
  std::size_t prima = 0;   ///< cell of the first
  std::size_t ultima = 0;  ///< cell of the last
  double x = 0;            ///< where the first stands on the page
  std::int64_t numero = 0;
  bool stessa_voce = true;  ///< every one refers to the first one's entry
};

/// What the elements of each lane are called, one and many.
constexpr const char* kNomiElementi[kNumeroCorsie][2] = {
    {"station", "stations"},
    {"signal", "signals"},
    {"sign board", "sign boards"},
    {"pair of maximum-speed boards", "pairs of maximum-speed boards"},
    {"slowdown warning board", "slowdown warning boards"},
    {"code cell", "code cells"},
    {"mountain section", "mountain sections"}};

/// Draws group `g` of lane `k`: the first element's mark, with its own
/// tooltip when it stands alone, else one that counts the group.
void disegna_gruppo(Pagina& p, const ScenarioDecodificato& s, int k, const Gruppo& g,
                    const Corsie& corsie) {
  const Cella& prima = s.celle[g.prima];
  std::string titolo;
  if (g.numero == 1) {
    titolo = titolo_elemento(s, g.prima);
  } else {
    titolo = plurale(g.numero, kNomiElementi[k][0], kNomiElementi[k][1]) + " from " +
             num(static_cast<double>(metri_elemento(g.prima))) + " to " +
             num(static_cast<double>(metri_elemento(g.ultima))) + " m (cells " +
             std::to_string(g.prima) + " to " + std::to_string(g.ultima) + ")";
    if (k == kCartelli && g.stessa_voce) titolo += testo_cartello(s, prima);
  }
  p.apri_gruppo(titolo);
  disegna_segno(p, prima, g.x, corsie);
  p.chiudi_gruppo();
}

/// The marks of the elements the cells hold, in cell order, each lane's
/// elements that stand within `kDistanzaSegni` of each other drawn as one.
void disegna_elementi(Pagina& p, const ScenarioDecodificato& s, const AsseKm& asse,
                      const Corsie& corsie) {
  struct Segno {
    int corsia;
    Gruppo gruppo;
  };
  std::vector<Segno> segni;
  int aperto[kNumeroCorsie];  // the index in `segni` of each lane's last group
  std::fill(std::begin(aperto), std::end(aperto), -1);
  for (std::size_t c = 0; c < s.celle.size(); ++c) {
    const int k = corsia_di(s.celle[c].tipo);
    if (k < 0) continue;
    const double x = asse.x(static_cast<double>(metri_elemento(c)));
    if (aperto[k] >= 0) {
      Gruppo& g = segni[static_cast<std::size_t>(aperto[k])].gruppo;
      if (std::abs(x - g.x) < kDistanzaSegni) {
        g.ultima = c;
        ++g.numero;
        g.stessa_voce = g.stessa_voce && s.celle[c].dato1 == s.celle[g.prima].dato1;
        continue;
      }
    }
    aperto[k] = static_cast<int>(segni.size());
    segni.push_back({k, Gruppo{c, c, x, 1, true}});
  }
  for (const Segno& segno : segni) disegna_gruppo(p, s, segno.corsia, segno.gruppo, corsie);
}

/// Each slowdown as a band over its stretch, its speed beside it.
void disegna_rallentamenti(Pagina& p, const std::vector<Rallentamento>& rallentamenti,
                           const AsseKm& asse, const Corsie& corsie) {
  for (const Rallentamento& r : rallentamenti) {
    const double x1 = asse.x(static_cast<double>(r.da)), x2 = asse.x(static_cast<double>(r.a));
    p.apri_gruppo("slowdown " + std::to_string(r.da) + " to " + std::to_string(r.a) + " m at " +
                  std::to_string(r.velocita) + " km/h");
    p.rettangolo(x1, corsie.y(kRallentamenti) + 4, std::max(x2 - x1, 3.0), kAltezzaCorsia - 8,
                 Stile::rallentamento);
    p.testo(x2 + 6, corsie.centro(kRallentamenti) + 4, std::to_string(r.velocita) + " km/h",
            Stile::velocita_rallentamento);
    p.chiudi_gruppo();
  }
}

/// Mountain sections: runs of cells with a mountain type.
void disegna_montagne(Pagina& p, const std::vector<Cella>& celle, const AsseKm& asse,
                      const Corsie& corsie) {
  for (std::size_t c = 0; c < celle.size();) {
    if (celle[c].montagna == 0) {
      ++c;
      continue;
    }
    const std::size_t da = c;
    while (c < celle.size() && celle[c].montagna != 0) ++c;
    const double m1 = static_cast<double>(inizio_cella(da));
    const double m2 = static_cast<double>(inizio_cella(c));
    p.apri_gruppo("mountain section " + num(m1) + " to " + num(m2) + " m");
    p.rettangolo(asse.x(m1), corsie.y(kMontagne) + 5, std::max(asse.x(m2) - asse.x(m1), 2.0),
                 kAltezzaCorsia - 10, Stile::montagna);
    p.chiudi_gruppo();
  }
}

}  // namespace

double disegna_corsie(Pagina& p, const ScenarioDecodificato& s,
                      const std::vector<Stazione>& stazioni,
                      const std::vector<Rallentamento>& rallentamenti, const AsseKm& asse,
                      double y) {
  int righe = 0;
  const std::vector<Nome> nomi = disponi_nomi(stazioni, asse, &righe);
  const Corsie corsie{y + righe * kRigaNomi + kSottoNomi};
  disegna_nomi(p, stazioni, nomi, asse, y, corsie);
  disegna_fondo(p, asse, corsie);
  for (const Stazione& st : stazioni) {
    const double x1 = asse.x(st.inizio), x2 = asse.x(st.fine);
    p.apri_gruppo(testo_mostrato(st.nome));
    p.rettangolo(x1, corsie.y(kStazioni) + 4, std::max(x2 - x1, 2.0), kAltezzaCorsia - 8,
                 Stile::area_stazione);
    p.chiudi_gruppo();
  }
  disegna_elementi(p, s, asse, corsie);
  disegna_rallentamenti(p, rallentamenti, asse, corsie);
  disegna_montagne(p, s.celle, asse, corsie);
  p.rettangolo(kMargineSinistro, corsie.y(0), kAreaX, kNumeroCorsie * kAltezzaCorsia,
               Stile::cornice_corsie);
  return corsie.y(kNumeroCorsie) - y;
}

}  // namespace scenario
