#include "tools/decompiler.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <tuple>

#include "compiler/chainage.h"
#include "compiler/compile_state.h"
#include "compiler/encoders.h"
#include "compiler/rounding.h"
#include "compiler/script_reader.h"
#include "compiler/station_rules.h"
#include "tools/code_cell_recovery.h"
#include "tools/curve_recovery.h"
#include "tools/mountain_recovery.h"

namespace scenario {

namespace {

/// Cells the profiles leave untouched at the end of the array.
constexpr std::int32_t kCelleFinaliVuote = 2;
/// Signals, boards and slowdowns stand in the cell after their position's.
constexpr std::int32_t kCellaDopo = 1;
/// A slowdown's warning board stands this many cells before its start.
constexpr std::int32_t kCelleAvviso = static_cast<std::int32_t>(kAnticipoAvviso / kMetriCella);

/// `a` / `b` rounded down (toward minus infinity, not toward zero).
std::int64_t floor_div(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

/// Tens and units of a data word: `word` = 10 × tens + units, units 0 to 9.
std::pair<std::int32_t, std::int32_t> decine(std::int64_t word) {
  const std::int64_t d = floor_div(word, 10);
  return {static_cast<std::int32_t>(d), static_cast<std::int32_t>(word - 10 * d)};
}

/// True when a text can be a script's text field: read back exactly, it
/// holds no comma or line break and no blank at either end.
bool testo_esprimibile(const std::string& t) {
  if (t.find_first_of(",\r\n") != std::string::npos) return false;
  if (t.empty()) return true;
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  return !blank(t.front()) && !blank(t.back());
}

/// "cell C", for the notes.
std::string cella_nome(std::size_t c) {
  return "cell " + std::to_string(c);
}

/// One decompile: the files, the records recovered from them so far, and
/// which cells the records explain.
class Decompilatore {
 public:
  Decompilatore(const FileDecodificati& file, const std::string& nome_percorso,
                const std::string& numero_treno)
      : file_(file),
        nome_percorso_(nome_percorso),
        numero_treno_(numero_treno),
        celle_(file.celle),
        spiegata_(file.celle.size(), false) {
    // The compiler overwrites these two words of cell 1 at the end of
    // every compile; they say nothing about the elements.
    if (celle_.size() > 1) {
      celle_[1].dato1 = 0;
      celle_[1].dato2 = 0;
    }
  }

  Decompilazione esegui() {
    ScenarioDecompilato& s = d_.scenario;
    s.con_linea = file_.con_linea;
    generale();
    profili();
    stazioni();
    cartelli();
    indicatori();
    rallentamenti();
    segnali();
    s.montagne = recupera_montagne(file_.celle, &d_.inesprimibili);
    for (std::size_t c = 0; c < celle_.size(); ++c) {
      if (celle_[c].tipo == tipo_cella::marcatore_montagna) spiega(c);
    }
    if (file_.con_linea) s.curve = recupera_curve(file_.linea, &d_.inesprimibili);
    abbattimenti();
    inspiegate();
    return std::move(d_);
  }

 private:
  const Parametro& voce(int e) const { return file_.parametri[static_cast<std::size_t>(e)]; }
  std::int32_t numero_celle() const { return static_cast<std::int32_t>(celle_.size()) - 1; }
  void nota(std::string s) { d_.inesprimibili.push_back(std::move(s)); }
  void spiega(std::size_t c) {
    if (c < spiegata_.size()) spiegata_[c] = true;
  }
  bool esiste(std::int64_t c) const {
    return c >= 0 && c < static_cast<std::int64_t>(celle_.size());
  }
  const Cella& cella(std::int64_t c) const { return celle_[static_cast<std::size_t>(c)]; }

  /// Position of an element that stands in the cell after its position's.
  std::int32_t posizione_dopo(std::size_t c) {
    const std::int64_t p = (static_cast<std::int64_t>(c) - kCellaDopo) * kMetriCella;
    if (p < 0) nota(cella_nome(c) + ": no element with a position stands in the first cell");
    return static_cast<std::int32_t>(p);
  }

  void generale();
  void progressive();
  void profili();
  std::vector<RecordProfilo> profilo(std::uint8_t Cella::*campo, std::int32_t scala,
                                     std::int32_t scarto, const char* nome);
  void stazioni();
  void cartelli();
  void indicatori();
  void rallentamenti();
  void segnali();
  void abbattimenti();
  void inspiegate();

  const FileDecodificati& file_;
  const std::string& nome_percorso_;
  const std::string& numero_treno_;
  std::vector<Cella> celle_;
  std::vector<bool> spiegata_;
  Decompilazione d_;
  std::int32_t numero_stazioni_ = 0;
  /// Station end-mark cells free to hide a board whose own cell a station
  /// end mark took.
  std::vector<std::size_t> fine_stazione_libere_;
};

void Decompilatore::generale() {
  GeneraleLinea& g = d_.scenario.generale;
  g.lunghezza = voce(voce::treno).fine;
  const std::int64_t lunghezza_tabella = static_cast<std::int64_t>(g.lunghezza) + kProlungamento;
  if (file_.con_linea && file_.linea.ultima_riga() != lunghezza_tabella) {
    nota("the line file holds metres 0 to " + std::to_string(file_.linea.ultima_riga()) +
         ", a route of " + std::to_string(g.lunghezza) + " m (entry 84) has 0 to " +
         std::to_string(lunghezza_tabella));
  }
  const std::int64_t celle_attese =
      arrotonda(static_cast<double>(lunghezza_tabella) / kMetriCella) + 1;
  if (static_cast<std::int64_t>(celle_.size()) != celle_attese) {
    nota("the cell file holds " + std::to_string(celle_.size()) + " cells, a route of " +
         std::to_string(g.lunghezza) + " m (entry 84) has " + std::to_string(celle_attese));
  }
  progressive();
  const Parametro& percorso = voce(voce::percorso);
  g.sfondi = {percorso.inizio, percorso.posizione, percorso.fine};
  const Parametro& r = voce(voce::ripetizione);
  g.ripetizione_inizio = r.inizio;
  g.ripetizione_fine = r.fine;
  g.ripetizione_codici = r.posizione == 9 ? 9 : 4;
  if (r.fine == 0 ? r.posizione != 0 : (r.posizione != 4 && r.posizione != 9)) {
    nota("entry 86: " + std::to_string(r.posizione) + " cab-signalling codes with the end at " +
         std::to_string(r.fine));
  }
  if (percorso.nome != nome_percorso_) {
    nota("entry 85 names the route \"" + percorso.nome + "\", not " + nome_percorso_);
  }
  if (r.nome != numero_treno_) {
    nota("entry 86 names the train \"" + r.nome + "\", not " + numero_treno_);
  }

  ScenarioDecompilato& s = d_.scenario;
  const Parametro& treno = voce(voce::treno);
  s.massa_frenata = treno.inizio;
  s.vetture = treno.posizione;
  s.sabbia = r.valore1;
  s.orologio = {r.valore3, r.valore4, r.valore5};
}

// The reader stores "tre", "due" and "uno" in entries 81 to 83 and then
// sorts them; several orders of the three records can give the stored
// arrangement. The one tried first numbers the systems in order of their
// start, those that hold nothing last; every candidate is sorted as the
// compiler sorts and the first that gives the stored entries is taken.
void Decompilatore::progressive() {
  std::array<RecordProgressiva, 3> salvate;
  for (int i = 0; i < 3; ++i) {
    const Parametro& p = voce(voce::progressiva_tre + i);
    salvate[static_cast<std::size_t>(i)] = {p.inizio, p.fine, p.posizione};
    // The sorting adds 100 to the end of every system whose third value is 1.
    if (p.posizione == 1) {
      salvate[static_cast<std::size_t>(i)].fine =
          static_cast<std::int32_t>(static_cast<std::int64_t>(p.fine) - 100);
    }
  }
  std::array<int, 3> ordine = {0, 1, 2};  // uno, due, tre take salvate[ordine[i]]
  auto vuota = [&](int i) {
    const RecordProgressiva& r = salvate[static_cast<std::size_t>(i)];
    return r.inizio == 0 && r.fine == 0 && r.posizione == 0;
  };
  std::stable_sort(ordine.begin(), ordine.end(), [&](int a, int b) {
    if (vuota(a) != vuota(b)) return !vuota(a);
    return salvate[static_cast<std::size_t>(a)].inizio <
           salvate[static_cast<std::size_t>(b)].inizio;
  });
  std::vector<std::array<int, 3>> candidati = {ordine};
  std::array<int, 3> p = {0, 1, 2};
  do {
    candidati.push_back(p);
  } while (std::next_permutation(p.begin(), p.end()));

  for (const auto& c : candidati) {
    StatoCompilazione prova;
    for (int i = 0; i < 3; ++i) {
      // "uno" goes to entry 83, "due" to 82, "tre" to 81.
      Parametro& e = prova.parametri[static_cast<std::size_t>(voce::progressiva_uno - i)];
      const RecordProgressiva& r =
          salvate[static_cast<std::size_t>(c[static_cast<std::size_t>(i)])];
      e.inizio = r.inizio;
      e.fine = r.fine;
      e.posizione = r.posizione;
    }
    progressive_ordina(prova);
    bool uguali = true;
    for (int e = voce::progressiva_tre; e <= voce::progressiva_uno; ++e) {
      const Parametro& a = prova.parametri[static_cast<std::size_t>(e)];
      const Parametro& b = voce(e);
      uguali = uguali && a.inizio == b.inizio && a.fine == b.fine && a.posizione == b.posizione;
    }
    if (uguali) {
      for (int i = 0; i < 3; ++i) {
        d_.scenario.generale.progressive[static_cast<std::size_t>(i)] =
            salvate[static_cast<std::size_t>(c[static_cast<std::size_t>(i)])];
      }
      return;
    }
  }
  for (int i = 0; i < 3; ++i) {
    d_.scenario.generale.progressive[static_cast<std::size_t>(i)] =
        salvate[static_cast<std::size_t>(ordine[static_cast<std::size_t>(i)])];
  }
  nota("entries 81 to 83: no order of three chainage records sorts into them");
}

// A profile is written from cell 0 up to the fourth cell from the end, each
// record filling the cells before its own with the value before it; a
// record at the third cell from the end is the only one that writes that
// cell too.
std::vector<RecordProfilo> Decompilatore::profilo(std::uint8_t Cella::*campo, std::int32_t scala,
                                                  std::int32_t scarto, const char* nome) {
  std::vector<RecordProfilo> r;
  const std::int32_t ultima_scritta = numero_celle() - kCelleFinaliVuote - 1;
  auto valore = [&](std::int64_t c) { return cella(c).*campo; };
  auto record = [&](std::int64_t c) {
    r.push_back({static_cast<std::int32_t>(c * kMetriCella), valore(c) * scala - scarto});
  };
  if (ultima_scritta < 0) return r;
  record(0);
  for (std::int32_t c = 1; c <= ultima_scritta; ++c) {
    if (valore(c) != valore(c - 1)) record(c);
  }
  if (valore(ultima_scritta + 1) != 0) record(ultima_scritta + 1);
  for (std::int32_t c = ultima_scritta + 2; c <= numero_celle(); ++c) {
    if (valore(c) != 0) {
      nota(cella_nome(static_cast<std::size_t>(c)) + ": no record writes the " + nome +
           " of the last two cells");
      break;
    }
  }
  return r;
}

void Decompilatore::profili() {
  ScenarioDecompilato& s = d_.scenario;
  s.pendenze = profilo(&Cella::pendenza, 1, kPendenzaPiana, "gradient");
  s.velocita = profilo(&Cella::velocita, kKmhPassoVelocita, 0, "speed");
  s.aderenze = profilo(&Cella::aderenza, 1, 0, "adhesion");
}

// A station entry always holds a number: a station of type below 25 ends
// more than 100 m in, one of 25 and above has its type. The entries from 1
// to the last such are the stations, in the order of the script.
void Decompilatore::stazioni() {
  for (int e = voce::ultimo_cartello; e >= voce::prima_stazione; --e) {
    const Parametro& p = voce(e);
    if (p.tipo != 0 || p.inizio != 0 || p.fine != 0 || p.posizione != 0 || p.opzione != 0 ||
        p.valore1 != 0 || p.valore2 != 0 || p.valore3 != 0 || p.valore4 != 0 || p.valore5 != 0 ||
        p.flag1 != 0 || p.flag2 != 0 || p.flag3 != 0 || p.flag4 != 0 || p.orario != 0) {
      numero_stazioni_ = e;
      break;
    }
  }
  for (int e = voce::prima_stazione; e <= numero_stazioni_; ++e) {
    const Parametro& p = voce(e);
    const std::string chi = "station " + std::to_string(e);
    RecordStazione z;
    z.posizione = p.posizione;
    z.tipo = p.tipo;
    const std::int64_t pos = p.posizione;
    std::int64_t lunghezza = 0;
    std::int32_t flag3 = 0;
    if (fine_fissa(p.tipo)) {
      lunghezza = pos - p.inizio;
      if (p.fine != pos + kFineOltrePosizione || p.flag3 != 0) {
        nota(chi + ": its end is not 150 m after its position");
      }
    } else if (lunghezza_per_lato(p.tipo)) {
      lunghezza = pos - p.inizio;
      if (p.fine != pos + lunghezza || p.flag3 != 0) {
        nota(chi + ": its start and end are not as far from its position");
      }
    } else {
      lunghezza = 2 * (pos - p.inizio);
      const std::int64_t oltre = p.fine - (pos + lunghezza / 2);
      if (oltre == kAllungamentoFlag3) {
        flag3 = p.flag3 != 0 ? p.flag3 : 1;
      } else if (oltre != 0 || p.flag3 != 0) {
        nota(chi + ": its end is not its position plus half its length (plus 50 with flag3)");
      }
      if (oltre == kAllungamentoFlag3 && p.flag3 == 0 && e != voce::prima_stazione) {
        nota(chi + ": its end is lengthened by 50 m while flag3 is 0");
      }
    }
    if (lunghezza % kPassoLunghezza != 0 || lunghezza < INT32_MIN || lunghezza > INT32_MAX) {
      nota(chi + ": a length of " + std::to_string(lunghezza) + " m is not a multiple of 100");
    }
    if (pos % kMetriCella != 0) nota(chi + ": its position is not a multiple of 50");
    if (p.flag4 != 0 && (lunghezza < kLunghezzaFlag4 || e == voce::prima_stazione)) {
      nota(chi + ": flag4 is set, which the first station and a short one lose");
    }
    if (e == voce::prima_stazione && p.flag3 != 0) {
      nota(chi + ": flag3 is set on the first station");
    }
    z.lunghezza = static_cast<std::int32_t>(lunghezza);
    z.opzione = p.opzione;
    z.flag4 = p.flag4;
    z.flag3 = flag3;
    z.valore1 = p.valore1;
    z.valore2 = p.valore2;
    z.flag1 = p.flag1;
    z.valore3 = p.valore3;
    z.valore4 = p.valore4;
    z.valore5 = p.valore5;
    z.flag2 = p.flag2;
    // (h × 60 + m) × 60 + s: any time is hours, minutes and seconds, all
    // of its sign.
    z.ore = p.orario / 3600;
    z.minuti = p.orario % 3600 / 60;
    z.secondi = p.orario % 60;
    z.nome = p.nome;
    if (!testo_esprimibile(p.nome)) {
      nota(chi + ": its name holds a comma, a line break or blanks at an end");
    }
    d_.scenario.stazioni.push_back(std::move(z));
  }
  for (std::size_t c = 0; c < celle_.size(); ++c) {
    const Cella& x = celle_[c];
    if (x.tipo != tipo_cella::fine_stazione) continue;
    if (x.dato1 >= voce::prima_stazione && x.dato1 <= numero_stazioni_) spiega(c);
    if (x.dato2 == 0 && x.dato3 == 0 && x.dato4 == 0 && x.tempo == 0) {
      fine_stazione_libere_.push_back(c);
    }
  }
}

// Board texts fill entries 80 downward in the order of the script, each
// board's cell naming its entry. A board whose cell a station end mark took
// later keeps only its text: it is put back on another such cell.
void Decompilatore::cartelli() {
  std::map<int, std::size_t> cella_di_voce;
  int piu_bassa = voce::ultimo_cartello + 1;
  for (std::size_t c = 0; c < celle_.size(); ++c) {
    const Cella& x = celle_[c];
    if (x.tipo != tipo_cella::cartello) continue;
    if (x.dato1 <= numero_stazioni_ || x.dato1 > voce::ultimo_cartello) {
      nota(cella_nome(c) + ": a sign board naming entry " + std::to_string(x.dato1) +
           ", which holds no board text");
      continue;
    }
    if (!cella_di_voce.emplace(x.dato1, c).second) {
      nota(cella_nome(c) + ": a second sign board naming entry " + std::to_string(x.dato1));
      continue;
    }
    spiega(c);
    piu_bassa = std::min<int>(piu_bassa, x.dato1);
  }
  for (int e = numero_stazioni_ + 1; e <= voce::ultimo_cartello; ++e) {
    if (!voce(e).nome.empty()) piu_bassa = std::min(piu_bassa, e);
  }
  std::size_t nascoste = 0;
  for (int e = voce::ultimo_cartello; e >= piu_bassa; --e) {
    RecordCartello r;
    r.testo = voce(e).nome;
    auto it = cella_di_voce.find(e);
    if (it != cella_di_voce.end()) {
      r.posizione = posizione_dopo(it->second);
    } else if (nascoste < fine_stazione_libere_.size()) {
      r.posizione = posizione_dopo(fine_stazione_libere_[nascoste++]);
    } else {
      nota("entry " + std::to_string(e) + ": a board text with no board cell to put it on");
      continue;
    }
    if (!testo_esprimibile(r.testo)) {
      nota("entry " + std::to_string(e) +
           ": the board text holds a comma, a line break or blanks at an end");
    }
    d_.scenario.cartelli.push_back(std::move(r));
  }
  fine_stazione_libere_.erase(
      fine_stazione_libere_.begin(),
      fine_stazione_libere_.begin() + static_cast<std::ptrdiff_t>(nascoste));
}

// Each speed word is round(right / 5 + 20 × left): left = word / 20 and
// right = 5 × the rest give it exactly. A pair of boards whose cell a
// station end mark took later keeps its last three words.
void Decompilatore::indicatori() {
  auto record = [&](std::size_t c, bool primo_perso) {
    const Cella& x = celle_[c];
    RecordIndicatori r;
    r.posizione = posizione_dopo(c);
    auto dividi = [](std::int16_t parola, std::int32_t* sinistra, std::int32_t* destra) {
      const std::int64_t s = floor_div(parola, 20);
      *sinistra = static_cast<std::int32_t>(s);
      *destra = static_cast<std::int32_t>((parola - 20 * s) * kKmhPassoVelocita);
    };
    dividi(primo_perso ? 0 : x.dato1, &r.vas, &r.vad);
    dividi(x.dato2, &r.vbs, &r.vbd);
    dividi(x.dato3, &r.vcs, &r.vcd);
    std::tie(r.strisces, r.strisced) = decine(x.dato4);
    d_.scenario.indicatori.push_back(r);
    spiega(c);
  };
  for (std::size_t c = 0; c < celle_.size(); ++c) {
    const Cella& x = celle_[c];
    if (x.tipo == tipo_cella::indicatori_v_max) record(c, false);
    if (x.tipo == tipo_cella::fine_stazione && (x.dato2 != 0 || x.dato3 != 0 || x.dato4 != 0)) {
      record(c, true);
    }
  }
  std::sort(d_.scenario.indicatori.begin(), d_.scenario.indicatori.end(),
            [](const RecordIndicatori& a, const RecordIndicatori& b) {
              return a.posizione < b.posizione;
            });
}

// Every slowdown start (3) is paired with the nearest end (2) after it that
// carries the same speed, d_v and f_tt; a start with no end is a slowdown
// shorter than a cell, whose start overwrote its end.
void Decompilatore::rallentamenti() {
  std::set<std::size_t> fini;
  for (std::size_t c = 0; c < celle_.size(); ++c) {
    if (celle_[c].tipo == tipo_cella::fine_rallentamento) fini.insert(c);
  }
  auto stessi_dati = [&](std::size_t a, std::size_t b) {
    return celle_[a].dato1 == celle_[b].dato1 && celle_[a].dato2 == celle_[b].dato2 &&
           celle_[a].dato3 == celle_[b].dato3;
  };
  for (std::size_t s = 0; s < celle_.size(); ++s) {
    const Cella& inizio = celle_[s];
    if (inizio.tipo != tipo_cella::inizio_rallentamento) continue;
    std::size_t e = s;
    for (auto it = fini.upper_bound(s); it != fini.end(); ++it) {
      if (stessi_dati(s, *it)) {
        e = *it;
        break;
      }
    }
    if (e == s) {
      for (auto it = fini.begin(); it != fini.end() && *it < s; ++it) {
        if (stessi_dati(s, *it)) e = *it;
      }
    }
    fini.erase(e);
    spiega(s);
    spiega(e);

    RecordRallentamento r;
    r.v = inizio.dato1;
    r.d_v = inizio.dato2;
    r.f_tt = inizio.dato3;
    const std::int64_t s64 = static_cast<std::int64_t>(s);
    const std::int64_t a = s64 - kCelleAvviso;
    const bool avviso = esiste(a) && cella(a).tipo == tipo_cella::avviso_rallentamento &&
                        cella(a).dato1 == inizio.dato1 && cella(a).dato2 == inizio.dato2;
    // Where the slowdown starts inside its cell shows in two things: a
    // warning board only beyond 1500 m (in cell 31 a start 20 m into the
    // cell has one), and warning cells one cell further from the board when
    // the start falls on a half metre-cell and rounds to the even neighbour.
    auto prima_avviso = [&](std::int64_t distanza, bool* valori_d_v) {
      int trovate = 0;
      *valori_d_v = true;
      for (int m = 0; m < kCellePrimaAvviso; ++m) {
        const std::int64_t b = a - distanza - m;
        if (esiste(b) && cella(b).tipo == tipo_cella::prima_dell_avviso &&
            cella(b).dato1 == m + 1) {
          ++trovate;
          *valori_d_v = *valori_d_v && cella(b).dato2 == m + 1;
        }
      }
      return trovate;
    };
    std::int64_t x = (s64 - kCellaDopo) * kMetriCella;
    std::int64_t distanza = 1;
    bool valori_d_v = false;
    int prima = avviso ? prima_avviso(distanza, &valori_d_v) : 0;
    if (avviso && prima != kCellePrimaAvviso && s64 % 2 == 0) {
      bool valori_piu_lontani = false;
      if (prima_avviso(2, &valori_piu_lontani) == kCellePrimaAvviso) {
        prima = kCellePrimaAvviso;
        distanza = 2;
        valori_d_v = valori_piu_lontani;
        x -= kMetriCella / 2;
      }
    }
    if (avviso && x <= kInizioConAvviso && x + 20 > kInizioConAvviso) x += 20;
    if (x < 0) nota(cella_nome(s) + ": a slowdown start in cell 0");
    r.x = static_cast<std::int32_t>(x);
    r.l = static_cast<std::int32_t>((static_cast<std::int64_t>(e) - kCellaDopo) * kMetriCella - x);
    if (x > kInizioConAvviso) {
      if (avviso) {
        spiega(static_cast<std::size_t>(a));
      } else {
        nota(cella_nome(s) + ": the slowdown has no warning board 24 cells before it");
      }
      if (prima == kCellePrimaAvviso) {
        r.f_ta = 1;
        for (int m = 0; m < kCellePrimaAvviso; ++m) {
          spiega(static_cast<std::size_t>(a - distanza - m));
        }
        // A d_v whose low 16 bits are 0 still marks the four cells.
        if (r.d_v == 0 && valori_d_v) r.d_v = 65536;
      } else if (prima != 0) {
        nota(cella_nome(s) + ": only " + std::to_string(prima) +
             " of the four cells before the slowdown's warning board");
      }
    }
    d_.scenario.rallentamenti.push_back(r);
  }
}

// dato4 = 10 × rapp + 3 × sx + dx, and the approach marks before the signal
// carry 10 × (3 × sx + dx) + step: the marks give 3 × sx + dx where they
// survive, and dato4's units otherwise. Only a signal whose left kind is 2
// keeps a time, so a time makes sx 2.
void Decompilatore::segnali() {
  for (std::size_t c = 0; c < celle_.size(); ++c) {
    const Cella& x = celle_[c];
    if (x.tipo != tipo_cella::segnale) continue;
    spiega(c);
    RecordSegnale g;
    g.posizione = posizione_dopo(c);
    std::int64_t lati = decine(x.dato4).second;
    for (int m = 1; m <= kSegniSegnale; ++m) {
      const std::int64_t prima = static_cast<std::int64_t>(c) - kPassoSegniSegnale * m;
      if (!esiste(prima)) break;
      const std::int32_t marca = cella(prima).avvicinamento;
      if (marca < m || (marca - m) % 10 != 0) continue;
      const std::int64_t k = (marca - m) / 10;
      if ((x.dato4 - k) % 10 == 0) {
        lati = k;
        break;
      }
    }
    g.rapp = static_cast<std::int32_t>((x.dato4 - lati) / 10);
    g.sx = static_cast<std::int32_t>(lati / 3);
    g.dx = static_cast<std::int32_t>(lati % 3);
    if (x.tempo != 0 && g.sx != 2) {
      g.sx = 2;
      g.dx = static_cast<std::int32_t>(lati - 6);
    }
    if (g.sx == 2) {
      // A time from 1 to 100 is stored as 101; one that should stay in that
      // range is given 256 higher, which has the same low byte.
      g.tempo = x.tempo >= 1 && x.tempo <= kTempoBreve ? x.tempo + 256 : x.tempo;
    }
    std::tie(g.s1, g.d1) = decine(x.dato1);
    std::tie(g.s2, g.d2) = decine(x.dato2);
    std::tie(g.s3, g.d3) = decine(x.dato3);
    d_.scenario.segnali.push_back(g);
  }
}

void Decompilatore::abbattimenti() {
  for (std::size_t c = 0; c < celle_.size(); ++c) {
    const std::uint8_t t = celle_[c].tipo;
    if (t == tipo_cella::codice || t == tipo_cella::codice_senza_valore) spiega(c);
  }
  const std::int64_t ultima = ultima_cella_record(celle_.size());
  for (const auto& [c, v] : recupera_abbattimenti(celle_)) {
    if (static_cast<std::int64_t>(c) > ultima) {
      nota(cella_nome(c) + ": a code cell the signal-code pass does not place, past cell " +
           std::to_string(ultima) + ", the last an \"abbattimento\" reaches");
      continue;
    }
    d_.scenario.abbattimenti.push_back({static_cast<std::int32_t>(c) * kMetriCella, v});
  }
}

void Decompilatore::inspiegate() {
  for (std::size_t c = 0; c < celle_.size(); ++c) {
    const Cella& x = celle_[c];
    if (x.tipo == tipo_cella::vuota || spiegata_[c]) continue;
    const char* nome = nome_elemento(x.tipo);
    nota(cella_nome(c) + " holds " +
         (*nome ? std::string("a ") + nome : "element code " + std::to_string(x.tipo)) +
         " that no record gives");
  }
}

}  // namespace

Decompilazione decompila(const FileDecodificati& file, const std::string& nome_percorso,
                         const std::string& numero_treno) {
  return Decompilatore(file, nome_percorso, numero_treno).esegui();
}

}  // namespace scenario
