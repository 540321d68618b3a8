#include "tools/check_warnings.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <string>

#include "compiler/rounding.h"
#include "output/cell_file.h"
#include "scripts/keywords.h"
#include "tools/check_names.h"
#include "tools/wording.h"

namespace scenario {

namespace {

/// Headroom of the cell array beyond the route, in metres.
constexpr std::int64_t kCodaPercorso = 7000;
/// Slowdowns at or before this position get no warning board.
constexpr std::int64_t kSenzaAvviso = 1500;
/// The range of a gradient the cell's byte holds (stored plus 100).
constexpr std::int64_t kPendenzaMinima = -100;
constexpr std::int64_t kPendenzaMassima = 155;

/// hh:mm:ss of a time in seconds.
std::string ora(std::int64_t h, std::int64_t m, std::int64_t s) {
  char b[64];
  std::snprintf(b, sizeof b, "%02lld:%02lld:%02lld", static_cast<long long>(h),
                static_cast<long long>(m), static_cast<long long>(s));
  return b;
}

std::string minuscolo(std::string_view t) {
  std::string s(t);
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

/// Edit distance with adjacent transpositions counted as one edit.
std::size_t distanza(std::string_view a, std::string_view b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t costo = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + costo});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

bool del_generale(TipoRecord t) {
  return t <= TipoRecord::ripetizione;
}
bool corpo_linea(TipoRecord t) {
  return t >= TipoRecord::pendenza && t <= TipoRecord::cartello;
}
bool del_treno(TipoRecord t) {
  return t >= TipoRecord::massa_frenata;
}

/// Records a script may hold only once: a second one replaces the first.
bool una_volta(TipoRecord t) {
  return del_generale(t) || t == TipoRecord::massa_frenata || t == TipoRecord::vetture ||
         t == TipoRecord::orologio || t == TipoRecord::sabbia;
}

/// The record kinds whose keyword tests `testo` passes among those `quali`
/// accepts.
template <typename Filtro>
std::vector<TipoRecord> tipi_per(std::string_view testo, Filtro quali) {
  std::vector<TipoRecord> tipi;
  auto prova = [&](TipoRecord t, const ParolaChiave& p) {
    if (quali(t) && p.corrisponde(testo)) tipi.push_back(t);
  };
  for (const auto& v : kTabellaGenerale) prova(static_cast<TipoRecord>(v.record), v.parola);
  for (const auto& v : kTabellaLinea) {
    prova(static_cast<TipoRecord>(static_cast<int>(TipoRecord::pendenza) +
                                  static_cast<int>(v.record)),
          v.parola);
  }
  for (const auto& v : kTabellaTreno) {
    prova(static_cast<TipoRecord>(static_cast<int>(TipoRecord::massa_frenata) +
                                  static_cast<int>(v.record)),
          v.parola);
  }
  return tipi;
}

/// Collects the warnings of one script.
class Avvisi {
 public:
  Avvisi(const ScriptControllato& s, std::optional<std::int64_t> lunghezza,
         std::vector<Diagnostica>& out)
      : s_(s), lunghezza_(lunghezza), out_(out) {}

  void forma();
  void linea();
  void treno();

 private:
  Diagnostica& avviso(const CampoScript& c, std::string_view nome, std::string messaggio) {
    out_.push_back(s_.al_campo(c, Gravita::avviso, std::move(messaggio)));
    out_.back().nome = std::string(nome);
    return out_.back();
  }

  /// A position field: past the route's end, not a multiple of 50.
  void posizione(const CampoScript* c, const char* cosa) {
    if (!c || c->numero < 0) return;
    if (lunghezza_ && c->numero > *lunghezza_) {
      avviso(*c, "past-route-end",
             std::string(cosa) + " " + std::to_string(c->numero) +
                 " m is past the end of the route (" + std::to_string(*lunghezza_) +
                 " m), in the " + std::to_string(kCodaPercorso) + " m run-out");
    }
    multiplo(c, c->numero, cosa);
  }

  void multiplo(const CampoScript* c, std::int64_t p, const char* cosa) {
    if (!c || p < 0 || p % kMetriCella == 0) return;
    avviso(*c, "inexact-position",
           std::string(cosa) + " " + std::to_string(p) +
               " m is not a multiple of 50 m: it is rounded to " +
               std::to_string(cella_di(p, 0) * kMetriCella) + " m");
  }

  /// Values the file keeps only the low 8 or 16 bits of.
  void bassi(const CampoScript* c, std::int64_t v, int bit, const std::string& cosa) {
    if (!c) return;
    const std::int64_t tenuto = bit == 8 ? bassi8(v) : bassi16(v);
    if (tenuto == v) return;
    avviso(*c, "truncated-value",
           cosa + " " + std::to_string(v) + " does not fit " +
               (bit == 8 ? "a byte (0 to 255)" : "16 bits") + ": the file keeps its low " +
               std::to_string(bit) + " bits, " + std::to_string(tenuto));
  }

  void ordine(TipoRecord tipo, const char* cosa);
  void curve();
  void profilo_inizio(TipoRecord tipo, const char* cosa, const char* valore);
  void orari(const RecordScript& r, std::size_t primo);
  void testo(const CampoScript* c, const char* cosa);
  void sconosciuto(const RecordScript& r);
  void progressive();

  const ScriptControllato& s_;
  std::optional<std::int64_t> lunghezza_;
  std::vector<Diagnostica>& out_;
};

void Avvisi::sconosciuto(const RecordScript& r) {
  const std::string& t = r.chiave.testo;
  std::string messaggio = "line ignored: " + citato(t) + " matches no record keyword";
  if (s_.tipo == TipoScript::linea && r.sezione == ParteScript::generale) {
    const auto corpo = tipi_per(t, corpo_linea);
    if (!corpo.empty()) {
      avviso(r.chiave, "unknown-record",
             "line ignored: " + citato(t) +
                 " is a record of the body, and the general section (up to the first `[...]` "
                 "header) does not read it");
      return;
    }
  }
  if (s_.tipo == TipoScript::linea && r.sezione == ParteScript::corpo) {
    const auto gen = tipi_per(t, del_generale);
    if (!gen.empty()) {
      avviso(r.chiave, "unknown-record",
             "line ignored: " + citato(t) +
                 " is a record of the general section, which ends at the first `[...]` header");
      return;
    }
  }
  // The nearest keywords of this part of the script.
  const std::string scritto = minuscolo(t);
  std::string senza_cifre;
  for (char c : scritto) {
    if (c < '0' || c > '9') senza_cifre += c;
  }
  std::string cifre;
  for (char c : scritto) {
    if (c >= '0' && c <= '9') cifre += c;
  }
  std::size_t migliore = SIZE_MAX;
  std::vector<std::string> proposte;
  auto prova = [&](const std::string& candidato, const std::string& confronto,
                   const std::string& contro) {
    const std::size_t d = distanza(contro, confronto);
    const std::size_t soglia = std::max<std::size_t>(1, confronto.size() / 3);
    if (d > soglia) return;
    if (d < migliore) {
      migliore = d;
      proposte.clear();
    }
    if (d == migliore) proposte.push_back(candidato);
  };
  for (int i = 0; i <= static_cast<int>(TipoRecord::stazione); ++i) {
    const TipoRecord tipo = static_cast<TipoRecord>(i);
    const bool qui =
        s_.tipo == TipoScript::treno
            ? del_treno(tipo)
            : (r.sezione == ParteScript::generale ? del_generale(tipo) : corpo_linea(tipo));
    if (!qui) continue;
    if (tipo == TipoRecord::curva) {
      const std::string classe = cifre.empty() ? "4" : cifre;
      prova("curvas" + classe, "curvas", senza_cifre);
      prova("curvad" + classe, "curvad", senza_cifre);
    } else {
      prova(parola_tipica(tipo), parola_tipica(tipo), scritto);
    }
  }
  if (!proposte.empty()) {
    messaggio += "; did you mean " + citato(proposte[0]);
    for (std::size_t i = 1; i < proposte.size(); ++i) messaggio += " or " + citato(proposte[i]);
    messaggio += "?";
    if (migliore == 0) messaggio += " (this keyword's test is case-sensitive)";
  }
  avviso(r.chiave, "unknown-record", messaggio);
}

void Avvisi::forma() {
  const auto& rs = s_.schema.record;
  std::map<TipoRecord, const RecordScript*> primi;
  for (std::size_t i = 0; i < rs.size(); ++i) {
    const RecordScript& r = rs[i];
    if (r.commento || r.intestazione) continue;
    const std::string& t = r.chiave.testo;
    if (r.tipi.empty()) {
      if (t.empty() || (contiene(t, "[") && contiene(t, "]"))) continue;
      if (r.a_capo) {
        sconosciuto(r);
      } else if (i > 0 && !rs[i - 1].tipi.empty() && rs[i - 1].difetto == Difetto::nessuno &&
                 rs[i - 1].ultima_riga == rs[i - 1].chiave.riga) {
        const RecordScript& p = rs[i - 1];
        avviso(r.chiave, "extra-fields",
               citato(p.chiave.testo) + " takes " +
                   std::to_string(static_cast<std::int64_t>(campi_attesi(p))) +
                   " fields; this extra field " + citato(t) +
                   " is read as the keyword of a further record, and matches none");
      }
      continue;
    }
    if (r.difetto != Difetto::nessuno) continue;
    if (r.tipi.size() > 1) {
      std::string come;
      for (std::size_t k = 0; k < r.tipi.size(); ++k) {
        come += (k == 0 ? "" : (k + 1 == r.tipi.size() ? " and as " : ", as ")) +
                citato(parola_tipica(r.tipi[k]));
      }
      avviso(r.chiave, "ambiguous-keyword",
             citato(t) + " is read as " + come + ": the reader takes the fields of each in turn");
    }
    if (r.ultima_riga > r.chiave.riga) {
      std::size_t sulla_riga = 0;
      const CampoScript* primo_altrove = nullptr;
      for (const CampoScript& c : r.valori) {
        if (c.riga == r.chiave.riga) {
          ++sulla_riga;
        } else if (!primo_altrove) {
          primo_altrove = &c;
        }
      }
      out_.push_back(
          s_.a_fine_riga(r.chiave.riga, Gravita::avviso,
                         "expected " + std::to_string(static_cast<std::int64_t>(campi_attesi(r))) +
                             " fields after " + citato(t) + ", found " +
                             std::to_string(static_cast<std::int64_t>(sulla_riga)) +
                             " on its line: the reader takes the rest from line " +
                             std::to_string(primo_altrove ? primo_altrove->riga : r.ultima_riga)));
      out_.back().nome = "missing-fields";
      if (primo_altrove) {
        out_.back().note.push_back(s_.nota(*primo_altrove, "read as a field of " + citato(t)));
      }
    }
    for (TipoRecord tipo : r.tipi) {
      if (!una_volta(tipo)) continue;
      auto [it, nuovo] = primi.emplace(tipo, &r);
      if (nuovo) continue;
      Diagnostica& d = avviso(r.chiave, "duplicate-record",
                              citato(parola_tipica(tipo)) +
                                  " given again: its values replace those of "
                                  "line " +
                                  std::to_string(it->second->chiave.riga));
      d.note.push_back(s_.nota(it->second->chiave, "first given here"));
    }
  }
}

void Avvisi::ordine(TipoRecord tipo, const char* cosa) {
  const CampoScript* prima = nullptr;
  for (const RecordScript& r : s_.schema.record) {
    if (r.difetto != Difetto::nessuno) continue;
    const CampoScript* p = campo(r, tipo, 0);
    if (!p) continue;
    if (prima && p->numero <= prima->numero) {
      Diagnostica& d =
          avviso(*p, "out-of-order",
                 std::string(cosa) + " at " + std::to_string(p->numero) +
                     " m is not after the previous one (" + std::to_string(prima->numero) +
                     " m): these records must stand in ascending order of "
                     "position");
      d.note.push_back(s_.nota(*prima, "the previous one"));
    }
    prima = p;
  }
}

void Avvisi::curve() {
  const CampoScript* inizio = nullptr;
  std::int64_t fine = 0;
  for (const RecordScript& r : s_.schema.record) {
    if (r.difetto != Difetto::nessuno) continue;
    const CampoScript* s = campo(r, TipoRecord::curva, 0);
    const CampoScript* l = campo(r, TipoRecord::curva, 1);
    if (!s || !l) continue;
    if (inizio && s->numero <= inizio->numero) {
      Diagnostica& d =
          avviso(*s, "out-of-order",
                 "curve at " + std::to_string(s->numero) + " m is not after the previous curve (" +
                     std::to_string(inizio->numero) +
                     " m): curves must stand in ascending order of start");
      d.note.push_back(s_.nota(*inizio, "the previous curve"));
    } else if (inizio && s->numero < fine) {
      Diagnostica& d = avviso(*s, "overlapping-curves",
                              "curve starts at " + std::to_string(s->numero) +
                                  " m, inside the previous curve (" +
                                  std::to_string(inizio->numero) + " to " + std::to_string(fine) +
                                  " m): only the part after " + std::to_string(fine) + " m turns");
      d.note.push_back(s_.nota(*inizio, "the previous curve"));
    }
    inizio = s;
    fine = s->numero + l->numero;
    if (lunghezza_ && fine > *lunghezza_ && s->numero <= *lunghezza_) {
      avviso(*l, "past-route-end",
             "curve ends at " + std::to_string(fine) + " m, past the end of the route (" +
                 std::to_string(*lunghezza_) + " m), in the " + std::to_string(kCodaPercorso) +
                 " m run-out");
    }
  }
}

void Avvisi::profilo_inizio(TipoRecord tipo, const char* cosa, const char* valore) {
  for (const RecordScript& r : s_.schema.record) {
    if (r.difetto != Difetto::nessuno) continue;
    const CampoScript* p = campo(r, tipo, 0);
    if (!p) continue;
    if (p->numero > 0) {
      avviso(*p, "profile-start",
             std::string("the first ") + citato(parola_tipica(tipo)) + " record is at " +
                 std::to_string(p->numero) + " m: the cells before it get " + cosa + " " + valore);
    }
    return;
  }
  const RecordScript* primo = nullptr;
  for (const RecordScript& r : s_.schema.record) {
    if (!r.tipi.empty()) {
      primo = &r;
      break;
    }
  }
  if (!primo) return;  // an empty script has its own warning
  avviso(primo->chiave, "profile-start",
         std::string("no ") + citato(parola_tipica(tipo)) + " record: every cell gets " + cosa +
             " " + valore);
}

void Avvisi::orari(const RecordScript& r, std::size_t primo) {
  const TipoRecord tipo =
      e_di(r, TipoRecord::orologio) && primo == 0 ? TipoRecord::orologio : TipoRecord::stazione;
  const CampoScript* h = campo(r, tipo, primo);
  const CampoScript* m = campo(r, tipo, primo + 1);
  const CampoScript* s = campo(r, tipo, primo + 2);
  if (!h || !m || !s) return;
  const char* nomi[3] = {"hours", "minutes", "seconds"};
  const CampoScript* campi[3] = {h, m, s};
  const std::int64_t massimi[3] = {23, 59, 59};
  for (int i = 0; i < 3; ++i) {
    if (campi[i]->numero < 0 || campi[i]->numero > massimi[i]) {
      avviso(*campi[i], "time-out-of-range",
             std::string(nomi[i]) + " " + std::to_string(campi[i]->numero) +
                 " out of range (0 to " + std::to_string(massimi[i]) + ")");
    }
  }
}

void Avvisi::testo(const CampoScript* c, const char* cosa) {
  if (!c) return;
  const std::string& t = c->testo;
  std::size_t primo = std::string::npos;
  for (std::size_t i = 0; i < t.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(t[i]);
    if (b < 0x20 || b > 0x7e) {
      primo = i;
      break;
    }
  }
  if (primo == std::string::npos) return;
  char esadecimale[8];
  std::snprintf(esadecimale, sizeof esadecimale, "0x%02X",
                static_cast<unsigned>(static_cast<unsigned char>(t[primo])));
  CampoScript dove = *c;
  dove.colonna += static_cast<int>(primo);
  dove.testo = t.substr(primo);
  avviso(dove, "non-ascii-text",
         std::string(cosa) + " holds byte " + esadecimale +
             ", outside printable ASCII: the file keeps every byte as one Windows-1252 "
             "character, so the simulator shows " +
             citato(t) + " (UTF-8 text gets two or more characters per letter)");
}

void Avvisi::progressive() {
  const RecordScript* ultimo[3] = {nullptr, nullptr, nullptr};
  const RecordScript* primo = nullptr;
  for (const RecordScript& r : s_.schema.record) {
    if (r.difetto != Difetto::nessuno) continue;
    for (int k = 0; k < 3; ++k) {
      const TipoRecord t =
          static_cast<TipoRecord>(static_cast<int>(TipoRecord::progressiva_tre) + k);
      if (e_di(r, t)) {
        ultimo[k] = &r;
        if (!primo) primo = &r;
      }
    }
  }
  if (!primo) return;
  std::int64_t inizio[3] = {0, 0, 0}, fine[3] = {0, 0, 0};
  bool qualcosa = false;
  for (int k = 0; k < 3; ++k) {
    if (!ultimo[k]) continue;
    const TipoRecord t = static_cast<TipoRecord>(static_cast<int>(TipoRecord::progressiva_tre) + k);
    const CampoScript* a = campo(*ultimo[k], t, 0);
    const CampoScript* b = campo(*ultimo[k], t, 1);
    const CampoScript* c = campo(*ultimo[k], t, 2);
    if (!a || !b || !c) return;
    inizio[k] = a->numero;
    fine[k] = b->numero;
    qualcosa = qualcosa || a->numero != 0 || b->numero != 0 || c->numero != 0;
  }
  if (!qualcosa) return;
  const std::int64_t somma = inizio[0] + inizio[1] + inizio[2];
  if (somma != 0) {
    const std::int64_t massimo = std::max({inizio[0], inizio[1], inizio[2]});
    const int quanti =
        static_cast<int>(inizio[0] == massimo) + (inizio[1] == massimo) + (inizio[2] == massimo);
    if (quanti > 1) {
      avviso(primo->chiave, "chainage-reset",
             "two chainage systems share the greatest start (" + std::to_string(massimo) +
                 " m): all three are stored as zeros");
    }
  } else if (fine[0] <= 0 && fine[1] <= 0 && fine[2] <= 0) {
    avviso(primo->chiave, "chainage-reset",
           "the chainage starts add up to 0 and no system has an end above 0: all three are "
           "stored as zeros");
  }
}

void Avvisi::linea() {
  ordine(TipoRecord::pendenza, "gradient");
  curve();
  progressive();
  for (const RecordScript& r : s_.schema.record) {
    if (r.difetto != Difetto::nessuno) continue;
    if (const CampoScript* p = campo(r, TipoRecord::pendenza, 0)) {
      posizione(p, "gradient position");
      const CampoScript* g = campo(r, TipoRecord::pendenza, 1);
      if (g && (g->numero < kPendenzaMinima || g->numero > kPendenzaMassima)) {
        avviso(*g, "truncated-value",
               "gradient " + std::to_string(g->numero) + " per mille is outside " +
                   std::to_string(kPendenzaMinima) + " to " + std::to_string(kPendenzaMassima) +
                   ": the cell stores it as " +
                   std::to_string(static_cast<std::int64_t>(bassi8(g->numero + 100)) - 100));
      }
    }
    if (const CampoScript* s = campo(r, TipoRecord::curva, 0)) {
      if (lunghezza_ && s->numero > *lunghezza_) {
        avviso(*s, "past-route-end",
               "curve start " + std::to_string(s->numero) + " m is past the end of the route (" +
                   std::to_string(*lunghezza_) + " m), in the " + std::to_string(kCodaPercorso) +
                   " m run-out");
      }
    }
    if (const CampoScript* a = campo(r, TipoRecord::montagna, 0)) {
      posizione(a, "mountain section start");
      posizione(campo(r, TipoRecord::montagna, 1), "mountain section end");
      const CampoScript* t = campo(r, TipoRecord::montagna, 2);
      if (t) bassi(t, t->numero > 10 ? t->numero - 10 : t->numero, 8, "mountain section type");
    }
    if (const CampoScript* p = campo(r, TipoRecord::indicatori_v_max, 0)) {
      posizione(p, "board position");
      for (std::size_t i = 5; i <= 7; ++i) {
        const CampoScript* v = campo(r, TipoRecord::indicatori_v_max, i);
        if (v && v->numero % 5 != 0) {
          avviso(*v, "inexact-speed",
                 "board speed " + std::to_string(v->numero) +
                     " km/h is not a multiple of 5: it is stored as " +
                     std::to_string(arrotonda(static_cast<double>(v->numero) / 5.0) * 5) + " km/h");
        }
      }
      const CampoScript* ss = campo(r, TipoRecord::indicatori_v_max, 4);
      const CampoScript* sd = campo(r, TipoRecord::indicatori_v_max, 8);
      if (ss && sd) bassi(ss, 10 * ss->numero + sd->numero, 16, "stripes word");
    }
    if (const CampoScript* p = campo(r, TipoRecord::cartello, 0)) {
      posizione(p, "board position");
      testo(campo(r, TipoRecord::cartello, 1), "board text");
    }
  }
}

void Avvisi::treno() {
  if (s_.schema.riga_generale == 0) {
    CampoScript inizio;
    inizio.riga = 1;
    inizio.colonna = 1;
    avviso(inizio, "empty-script",
           s_.testo.empty() ? "the train script is empty"
                            : "no `[generale]` line: the reader ignores the whole train script");
    return;
  }
  const bool vuoto = std::none_of(s_.schema.record.begin(), s_.schema.record.end(),
                                  [](const RecordScript& r) { return !r.tipi.empty(); });
  if (vuoto) {
    CampoScript g;
    g.riga = s_.schema.riga_generale;
    g.colonna = 1;
    g.testo = std::string(s_.schema.riga(s_.testo, g.riga));
    avviso(g, "empty-script", "the train script has no records");
    return;
  }
  ordine(TipoRecord::velocita, "speed record");
  ordine(TipoRecord::aderenza, "adhesion record");
  profilo_inizio(TipoRecord::velocita, "speed", "0");
  profilo_inizio(TipoRecord::aderenza, "adhesion", "0");

  const CampoScript* ora_prima = nullptr;
  std::int64_t secondi_prima = 0;
  std::string nome_prima;
  for (const RecordScript& r : s_.schema.record) {
    if (r.difetto != Difetto::nessuno) continue;
    if (const CampoScript* p = campo(r, TipoRecord::velocita, 0)) {
      posizione(p, "speed position");
      const CampoScript* v = campo(r, TipoRecord::velocita, 1);
      if (v && v->numero % 5 != 0) {
        avviso(*v, "inexact-speed",
               "speed " + std::to_string(v->numero) +
                   " km/h is not a multiple of 5: the cells store " +
                   std::to_string(arrotonda(static_cast<double>(v->numero) / 5.0) * 5) + " km/h");
      }
    }
    if (const CampoScript* p = campo(r, TipoRecord::aderenza, 0)) {
      posizione(p, "adhesion position");
      const CampoScript* a = campo(r, TipoRecord::aderenza, 1);
      if (a) bassi(a, a->numero, 8, "adhesion");
    }
    if (e_di(r, TipoRecord::orologio)) orari(r, 0);
    if (const CampoScript* p = campo(r, TipoRecord::segnale, 0)) {
      posizione(p, "signal position");
      auto v = [&](std::size_t i) {
        const CampoScript* c = campo(r, TipoRecord::segnale, i);
        return c ? c->numero : 0;
      };
      const CampoScript* tempo = campo(r, TipoRecord::segnale, 10);
      if (tempo && v(1) == 2) {
        const std::int64_t t = v(10) >= 1 && v(10) <= 100 ? 101 : v(10);
        bassi(tempo, t, 8, "signal time");
      }
      for (std::size_t i = 2; i <= 4; ++i) {
        bassi(campo(r, TipoRecord::segnale, i), 10 * v(i) + v(i + 5), 16,
              "signal word " + std::to_string(static_cast<std::int64_t>(i - 1)) + " (10 x s + d)");
      }
      bassi(campo(r, TipoRecord::segnale, 5), 10 * v(5) + 3 * v(1) + v(6), 16,
            "signal word 4 (10 x rapp + 3 x sx + dx)");
    }
    if (const CampoScript* x = campo(r, TipoRecord::rallentamento, 0)) {
      posizione(x, "slowdown position");
      const CampoScript* v = campo(r, TipoRecord::rallentamento, 1);
      const CampoScript* l = campo(r, TipoRecord::rallentamento, 2);
      if (l) {
        const std::int64_t fine = x->numero + l->numero;
        if (lunghezza_ && fine > *lunghezza_ && x->numero <= *lunghezza_) {
          avviso(*l, "past-route-end",
                 "slowdown ends at " + std::to_string(fine) + " m, past the end of the route (" +
                     std::to_string(*lunghezza_) + " m)");
        }
        multiplo(l, fine, "slowdown end (start plus length)");
        if (cella_di(fine, 1) <= cella_di(x->numero, 1)) {
          avviso(*l, "short-slowdown",
                 "slowdown of " + std::to_string(l->numero) +
                     " m starts and ends in the same cell: its start mark replaces its end mark");
        }
      }
      if (x->numero <= kSenzaAvviso) {
        avviso(*x, "no-warning-board",
               "slowdown at " + std::to_string(x->numero) +
                   " m gets no warning board: the board stands 1200 m before the start and is "
                   "placed only for slowdowns beyond " +
                   std::to_string(kSenzaAvviso) + " m");
      }
      if (v) bassi(v, v->numero, 16, "slowdown speed");
      for (std::size_t i : {3u, 5u}) {
        const CampoScript* c = campo(r, TipoRecord::rallentamento, i);
        if (c) bassi(c, c->numero, 16, nome_campo(TipoRecord::rallentamento, i));
      }
    }
    if (const CampoScript* p = campo(r, TipoRecord::abbattimento, 0)) {
      posizione(p, "code cell position");
      const CampoScript* w = campo(r, TipoRecord::abbattimento, 1);
      if (w && w->numero > 0) bassi(w, w->numero, 16, "code value");
    }
    if (const CampoScript* p = campo(r, TipoRecord::stazione, 0)) {
      if (lunghezza_ && p->numero > *lunghezza_) {
        avviso(*p, "past-route-end",
               "station position " + std::to_string(p->numero) +
                   " m is past the end of the route (" + std::to_string(*lunghezza_) +
                   " m), in the " + std::to_string(kCodaPercorso) + " m run-out");
      }
      const CampoScript* tipo = campo(r, TipoRecord::stazione, 1);
      const CampoScript* l = campo(r, TipoRecord::stazione, 2);
      if (tipo && l) {
        const std::int64_t t = tipo->numero;
        const std::int64_t inizio =
            (t >= 5 && t <= 8) ? p->numero - l->numero
                               : arrotonda(static_cast<double>(p->numero) - l->numero / 2.0);
        if (inizio < 0) {
          avviso(*p, "station-before-start",
                 "station starts at " + std::to_string(inizio) +
                     " m, before the start of the route (position " + std::to_string(p->numero) +
                     " m, length " + std::to_string(l->numero) + " m)");
        }
      }
      orari(r, 13);
      const CampoScript* h = campo(r, TipoRecord::stazione, 13);
      const CampoScript* m = campo(r, TipoRecord::stazione, 14);
      const CampoScript* s = campo(r, TipoRecord::stazione, 15);
      const CampoScript* nome = campo(r, TipoRecord::stazione, 16);
      testo(nome, "station name");
      if (h && m && s && (h->numero != 0 || m->numero != 0 || s->numero != 0)) {
        // 00:00:00 stands for a station without a time.
        const std::int64_t secondi = (h->numero * 60 + m->numero) * 60 + s->numero;
        const std::string qui = nome ? nome->testo : std::string();
        if (ora_prima && secondi < secondi_prima) {
          Diagnostica& d = avviso(
              *h, "timetable-order",
              "station " + citato(qui) + " is timed " + ora(h->numero, m->numero, s->numero) +
                  ", before the previous station " + citato(nome_prima) + " at " +
                  ora(secondi_prima / 3600, secondi_prima / 60 % 60, secondi_prima % 60));
          d.colonna_fine = s->colonna + static_cast<int>(s->testo.size());
          d.note.push_back(s_.nota(*ora_prima, "the previous station's time"));
        }
        ora_prima = h;
        secondi_prima = secondi;
        nome_prima = qui;
      }
    }
  }
}

/// The route length of the line script's last sound length record.
std::optional<std::int64_t> lunghezza_di(const ScriptControllato& linea) {
  std::optional<std::int64_t> l;
  for (const RecordScript& r : linea.schema.record) {
    if (r.difetto != Difetto::nessuno) continue;
    if (const CampoScript* c = campo(r, TipoRecord::lunghezza, 0)) l = c->numero;
  }
  return l;
}

}  // namespace

bool avviso_esiste(std::string_view nome) {
  return std::find(kNomiAvvisi.begin(), kNomiAvvisi.end(), nome) != kNomiAvvisi.end();
}

std::vector<Diagnostica> avvisi_script(const ScriptControllato& linea,
                                       const ScriptControllato& treno) {
  std::vector<Diagnostica> out;
  const std::optional<std::int64_t> lunghezza = lunghezza_di(linea);
  Avvisi l(linea, lunghezza, out);
  l.forma();
  l.linea();
  Avvisi t(treno, lunghezza, out);
  t.forma();
  t.treno();
  return out;
}

}  // namespace scenario
