#include "tools/mountain_recovery.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace scenario {

namespace {

/// Most sections the compiler stores.
constexpr std::size_t kSezioniMassime = 80;
/// A section that starts this close after the previous one's end is type 3.
constexpr std::int64_t kDistanzaTipo3 = 150;
constexpr std::uint8_t kTipoVicino = 3;
/// A script type above this sets the marker flag and loses this much.
constexpr std::int32_t kSogliaMarcatore = 10;
/// Every this many cells of a marked section carries a marker.
constexpr std::int32_t kPassoMarcatori = 4;

/// One section found in the cells: first and last cell, and its flag.
struct Sezione {
  std::int32_t prima = 0;
  std::int32_t ultima = 0;
  bool marcatore = false;
};

bool marcatore(const Cella& c) {
  return c.tipo == tipo_cella::marcatore_montagna;
}

/// Cuts the run of cells `f` to `l` into the fewest sections the markers
/// allow; false when they allow none.
bool sezioni_del_tratto(const std::vector<Cella>& celle, std::int32_t f, std::int32_t l,
                        std::vector<Sezione>* sezioni) {
  const std::size_t n = static_cast<std::size_t>(l - f + 2);
  auto at = [&](std::int32_t x) { return static_cast<std::size_t>(x - f); };
  // prossimo_marcatore[x]: the first marker at or after x (l + 1 when none).
  // prossimo_difetto[r][x]: the first cell at or after x that a marked
  // section whose first cell is r modulo 4 cannot hold: a marker off its
  // 4-cell step, or an empty cell on it.
  std::vector<std::int32_t> prossimo_marcatore(n, l + 1);
  std::array<std::vector<std::int32_t>, kPassoMarcatori> prossimo_difetto;
  for (auto& v : prossimo_difetto) v.assign(n, l + 1);
  for (std::int32_t x = l; x >= f; --x) {
    const Cella& c = celle[static_cast<std::size_t>(x)];
    prossimo_marcatore[at(x)] = marcatore(c) ? x : prossimo_marcatore[at(x + 1)];
    for (std::int32_t r = 0; r < kPassoMarcatori; ++r) {
      const bool sul_passo =
          ((x - r) % kPassoMarcatori + kPassoMarcatori) % kPassoMarcatori == kPassoMarcatori - 1;
      const bool difetto = sul_passo ? c.tipo == tipo_cella::vuota : marcatore(c);
      auto& v = prossimo_difetto[static_cast<std::size_t>(r)];
      v[at(x)] = difetto ? x : v[at(x + 1)];
    }
  }
  auto fine_senza = [&](std::int32_t s) { return prossimo_marcatore[at(s)] - 1; };
  auto fine_con = [&](std::int32_t s) {
    return prossimo_difetto[static_cast<std::size_t>(s % kPassoMarcatori)][at(s)] - 1;
  };

  // Fewest sections: a section starting at s may end anywhere up to the
  // farthest cell either kind allows, so each start that the sections so
  // far can reach is taken from the first start that reaches it.
  std::vector<std::int32_t> da(n, -1);
  std::int32_t raggiunto = f;  // every start up to here is reachable
  for (std::int32_t s = f; s <= l && s <= raggiunto; ++s) {
    const std::int32_t fino = std::max(fine_senza(s), fine_con(s)) + 1;
    for (std::int32_t p = raggiunto + 1; p <= fino; ++p) da[at(p)] = s;
    if (fino > raggiunto) raggiunto = fino;
  }
  if (raggiunto <= l) return false;
  std::vector<Sezione> trovate;
  for (std::int32_t p = l + 1; p > f; p = da[at(p)]) {
    const std::int32_t s = da[at(p)];
    trovate.push_back({s, p - 1, p - 1 > fine_senza(s)});
  }
  sezioni->insert(sezioni->end(), trovate.rbegin(), trovate.rend());
  return true;
}

/// The script type that gives value `valore` with or without the marker
/// flag: a type above 10 sets the flag, so an unmarked value above 10 is
/// written as its negative equivalent modulo 256.
std::int32_t tipo_script(std::uint8_t valore, bool con_marcatore) {
  if (con_marcatore) return valore + kSogliaMarcatore;
  return valore <= kSogliaMarcatore ? valore : valore - 256;
}

}  // namespace

std::vector<RecordMontagna> recupera_montagne(const std::vector<Cella>& celle,
                                              std::vector<std::string>* inesprimibili) {
  std::vector<RecordMontagna> montagne;
  const auto numero = static_cast<std::int32_t>(celle.size());
  // The last cell a section may reach: its end must lie 100 m inside.
  const std::int32_t ultima_possibile = numero - 1 - 2 - 1;
  bool precedente = false;
  std::int64_t fine_precedente = 0;
  for (std::int32_t c = 0; c < numero;) {
    const Cella& cella = celle[static_cast<std::size_t>(c)];
    if (cella.montagna == 0) {
      if (marcatore(cella)) {
        inesprimibili->push_back("cell " + std::to_string(c) +
                                 " holds a mountain marker outside any section");
      }
      ++c;
      continue;
    }
    std::int32_t l = c;
    while (l + 1 < numero && celle[static_cast<std::size_t>(l + 1)].montagna == cella.montagna) {
      ++l;
    }
    std::vector<Sezione> sezioni;
    if (!sezioni_del_tratto(celle, c, l, &sezioni)) {
      inesprimibili->push_back("cells " + std::to_string(c) + " to " + std::to_string(l) +
                               ": the mountain markers follow no arrangement of sections");
      sezioni = {{c, l, false}};
    }
    if (l > ultima_possibile) {
      inesprimibili->push_back("cells " + std::to_string(c) + " to " + std::to_string(l) +
                               ": a mountain section cannot reach past cell " +
                               std::to_string(ultima_possibile));
    }
    for (const Sezione& s : sezioni) {
      const std::int64_t inizio = static_cast<std::int64_t>(s.prima) * kMetriCella;
      if (precedente && cella.montagna != kTipoVicino &&
          inizio - fine_precedente <= kDistanzaTipo3) {
        montagne.push_back({0, 0, 0, true});
        if (inizio <= kDistanzaTipo3) {
          inesprimibili->push_back("cells " + std::to_string(s.prima) + " to " +
                                   std::to_string(s.ultima) +
                                   ": a section this close to the start after another one is "
                                   "always type 3");
        }
      }
      const std::int64_t fine = (static_cast<std::int64_t>(s.ultima) + 1) * kMetriCella;
      montagne.push_back({static_cast<std::int32_t>(inizio), static_cast<std::int32_t>(fine),
                          tipo_script(cella.montagna, s.marcatore), false});
      precedente = true;
      fine_precedente = fine;
    }
    c = l + 1;
  }
  if (montagne.size() > kSezioniMassime) {
    inesprimibili->push_back(std::to_string(montagne.size()) +
                             " mountain records, more than the 80 the compiler stores");
  }
  return montagne;
}

}  // namespace scenario
