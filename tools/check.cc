#include "tools/check.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <tuple>
#include <utility>

#include "base/file_names.h"
#include "base/memory_file_system.h"
#include "compiler/compile_driver.h"
#include "compiler/compile_state.h"
#include "compiler/error_codes.h"
#include "compiler/rounding.h"
#include "compiler/script_reader.h"
#include "output/cell_file.h"
#include "output/parameter_file.h"
#include "scripts/keywords.h"
#include "tools/check_names.h"
#include "tools/check_warnings.h"
#include "tools/checked_script.h"
#include "tools/wording.h"

namespace scenario {

namespace {

/// The in-memory folder the check compiles in.
constexpr const char* kCartella = "/check";
/// Compiles the search for errors runs at most.
constexpr std::size_t kCompilazioniMassime = 200;
/// Stations the parameter table takes when the line has no board text: with
/// b board texts counting down from the last shared entry, station 79 - b
/// is already code 10.
constexpr std::int64_t kVociCondivise = voce::ultimo_cartello - voce::prima_stazione - 1;

/// Reads from memory and refuses to create files: the check writes nothing.
class FileSystemControllo : public MemoryFileSystem {
 public:
  int CreateFile(const std::string& path, std::optional<std::uint32_t>, std::string* err) override {
    *err = path + ": the check writes no file";
    return -1;
  }
};

/// The element of code `tipo`, with its article, for messages.
std::string elemento(std::uint8_t tipo) {
  switch (tipo) {
    case tipo_cella::segnale:
      return "a signal";
    case tipo_cella::fine_rallentamento:
      return "the end of a slowdown";
    case tipo_cella::inizio_rallentamento:
      return "the start of a slowdown";
    case tipo_cella::avviso_rallentamento:
      return "the warning board of a slowdown";
    case tipo_cella::prima_dell_avviso:
      return "one of the four cells before a slowdown's warning board";
    case tipo_cella::indicatori_v_max:
      return "a pair of maximum-speed boards";
    case tipo_cella::fine_stazione:
      return "a station's end mark";
    case tipo_cella::marcatore_montagna:
      return "a mountain marker";
    case tipo_cella::codice:
      return "a code cell";
    case tipo_cella::codice_senza_valore:
      return "a code cell without value";
    case tipo_cella::cartello:
      return "an indicator board";
    default:
      return "an element";
  }
}

/// The message and place of one error, and the record to take out before
/// the next compile (none when nothing can be taken out).
struct Spiegazione {
  Diagnostica d;
  int script = 0;
  const RecordScript* record = nullptr;
};

/// One check: the two scripts, the copies the compile reads (records taken
/// out blanked), the errors found so far.
class Controllo {
 public:
  Controllo(const std::string& percorso, const std::string& treno, const ScriptDaControllare& l,
            const ScriptDaControllare& t)
      : percorso_(percorso),
        treno_(treno),
        s_{ScriptControllato(TipoScript::linea, l.file, l.testo),
           ScriptControllato(TipoScript::treno, t.file, t.testo)},
        testo_{l.testo, t.testo} {
    // Curves only build the line geometry, which costs most of a compile:
    // the check compiles without it, with the curve records blanked out,
    // and checks them itself as the reader would. A keyword read as a
    // curve and as another record keeps the geometry in.
    for (const RecordScript& r : s_[0].schema.record) {
      if (!e_di(r, TipoRecord::curva)) continue;
      if (r.tipi.size() > 1) {
        con_linea_ = true;
        curve_.clear();
        testo_[0] = l.testo;
        return;
      }
      curve_.push_back(&r);
      bianco(0, r);
    }
  }

  /// Compiles until no error stops the compile.
  void cerca_errori();
  /// Errors found, in the order found.
  const std::vector<Diagnostica>& errori() const { return errori_; }
  bool completo() const { return completo_; }
  const ScriptControllato& script(int i) const { return s_[i]; }
  /// True when line `riga` of script `file` holds an error or lies in a
  /// record taken out.
  bool riga_errata(const std::string& file, int riga) const {
    return righe_errate_.count({file, riga}) != 0;
  }

 private:
  RisultatoCompilazione compila(StatoCompilazione& stato) const;
  bool lettura(const Diagnosi& d, const StatoCompilazione& stato);
  Spiegazione spiega(const Diagnosi& d, const StatoCompilazione& stato, int i,
                     const RecordScript* r) const;
  Diagnostica spiega_lettura(int i, const RecordScript* r, const RecordScript** da_togliere) const;
  Diagnostica fuori(const StatoCompilazione& stato, int i, const RecordScript& r) const;
  void progressive();
  void post_pass(const StatoCompilazione& stato, const RisultatoCompilazione& risultato);
  void aggiungi(Diagnostica d);
  bool togli(int i, const RecordScript& r);
  bool togli_riga(int i, int riga);

  /// Field `k` of kind `tipo` of `r` as the place of an error; the keyword
  /// when the record has no such field.
  Diagnostica al(int i, const RecordScript& r, TipoRecord tipo, std::size_t k,
                 std::string messaggio) const {
    const CampoScript* c = campo(r, tipo, k);
    return s_[i].al_campo(c ? *c : r.chiave, Gravita::errore, std::move(messaggio));
  }
  /// Line `riga` of script `i` as the place of an error.
  Diagnostica alla_riga(int i, int riga, std::string messaggio) const {
    CampoScript c;
    c.riga = std::max(riga, 1);
    c.colonna = 1;
    c.testo = std::string(s_[i].schema.riga(s_[i].testo, c.riga));
    return s_[i].al_campo(c, Gravita::errore, std::move(messaggio));
  }
  /// The record an element of the compile came from.
  std::pair<int, const RecordScript*> record_di(const Origine& o) const {
    if (o.sorgente != Sorgente::script_linea && o.sorgente != Sorgente::script_treno) {
      return {0, nullptr};
    }
    const int i = o.sorgente == Sorgente::script_treno ? 1 : 0;
    return {i, s_[i].record_a(o.campo)};
  }
  /// Notes naming the records that hold `celle`, one per record.
  std::vector<Nota> occupanti(const StatoCompilazione& stato,
                              const std::vector<std::int64_t>& celle) const;
  /// The sound records of kind `tipo` still in, up to and including `fino`.
  std::vector<const RecordScript*> presenti(int i, TipoRecord tipo,
                                            const RecordScript* fino = nullptr) const;

  void bianco(int i, const RecordScript& r);
  void controlla_curve(const StatoCompilazione& stato);

  std::string percorso_;
  std::string treno_;
  bool con_linea_ = false;
  std::vector<const RecordScript*> curve_;
  ScriptControllato s_[2];
  std::string testo_[2];
  std::set<std::size_t> tolti_[2];
  std::vector<Diagnostica> errori_;
  std::set<std::tuple<std::string, int, int, std::int32_t, std::string>> visti_;
  std::set<std::pair<std::string, int>> righe_errate_;
  bool completo_ = true;
};

RisultatoCompilazione Controllo::compila(StatoCompilazione& stato) const {
  FileSystemControllo fs;
  fs.files()[percorso_in(kCartella, nome_script_linea(percorso_))] = testo_[0];
  fs.files()[percorso_in(kCartella, nome_script_treno(percorso_, treno_))] = testo_[1];
  stato.nome_percorso = percorso_;
  stato.numero_treno = treno_;
  return memorizza_percorso(stato, con_linea_, fs, {kCartella, kCartella});
}

void Controllo::cerca_errori() {
  for (std::size_t volta = 0;; ++volta) {
    if (volta == kCompilazioniMassime) {
      completo_ = false;
      return;
    }
    StatoCompilazione stato;
    const RisultatoCompilazione risultato = compila(stato);
    if (volta == 0 && stato.celle_dimensionate()) controlla_curve(stato);
    bool tolto = false;
    for (const Diagnosi& d : stato.diagnosi) {
      if (d.codice == codice::progressiva_non_multipla) {
        progressive();
      } else if (d.sorgente == Sorgente::script_linea || d.sorgente == Sorgente::script_treno) {
        tolto = lettura(d, stato) || tolto;
      }
    }
    // Without a cell array nothing after the general section can be
    // checked; with nothing more taken out the compile has run its course.
    if (risultato.esito == Esito::senza_celle) return;
    if (!tolto) {
      post_pass(stato, risultato);
      return;
    }
  }
}

void Controllo::aggiungi(Diagnostica d) {
  if (d.nome.empty() && d.gravita == Gravita::errore) d.nome = nome_breve_codice(d.codice);
  if (!visti_.emplace(d.file, d.riga, d.colonna, d.codice, d.messaggio).second) return;
  righe_errate_.emplace(d.file, d.riga);
  errori_.push_back(std::move(d));
}

void Controllo::controlla_curve(const StatoCompilazione& stato) {
  const std::int64_t ultimo_metro = static_cast<std::int64_t>(stato.lunghezza_tabella) - 2;
  for (const RecordScript* r : curve_) {
    Diagnosi d;
    d.sorgente = Sorgente::script_linea;
    d.riga = r->chiave.riga;
    d.campo = r->chiave.inizio;
    if (r->difetto != Difetto::nessuno) {
      d.codice = codice::lettura_fallita;
    } else {
      const std::int64_t inizio = campo(*r, TipoRecord::curva, 0)->numero;
      const std::int64_t fine = inizio + campo(*r, TipoRecord::curva, 1)->numero;
      const bool cifra = std::any_of(kClassiCurva.begin(), kClassiCurva.end(), [&](const auto& c) {
        return r->chiave.testo.find(c.first) != std::string::npos;
      });
      if (!dentro_celle(stato, inizio) || fine > ultimo_metro) {
        d.codice = codice::fuori_celle;
      } else if (!cifra || std::max(inizio, fine) >= kLunghezzaMassima) {
        d.codice = codice::curva_non_valida;
      } else {
        continue;
      }
    }
    Spiegazione e = spiega(d, stato, 0, r);
    e.d.codice = d.codice;
    aggiungi(std::move(e.d));
    togli(0, *r);
  }
}

void Controllo::bianco(int i, const RecordScript& r) {
  const ScriptOutline& o = s_[i].schema;
  const int ultima = std::max(r.ultima_riga, r.chiave.riga);
  const std::size_t fine =
      o.inizi_riga[static_cast<std::size_t>(ultima - 1)] + o.riga(s_[i].testo, ultima).size();
  std::string& t = testo_[i];
  for (std::size_t p = r.chiave.inizio; p < fine && p < t.size(); ++p) {
    if (t[p] != '\r' && t[p] != '\n') t[p] = ' ';
  }
}

bool Controllo::togli(int i, const RecordScript& r) {
  if (!tolti_[i].insert(r.chiave.inizio).second) return false;
  bianco(i, r);
  for (int x = r.chiave.riga; x <= std::max(r.ultima_riga, r.chiave.riga); ++x) {
    righe_errate_.emplace(s_[i].file, x);
  }
  return true;
}

bool Controllo::togli_riga(int i, int riga) {
  const ScriptOutline& o = s_[i].schema;
  if (riga < 1 || riga > o.righe()) return false;
  const std::size_t inizio = o.inizi_riga[static_cast<std::size_t>(riga - 1)];
  const std::size_t fine = inizio + o.riga(s_[i].testo, riga).size();
  bool cambiato = false;
  for (std::size_t p = inizio; p < fine; ++p) {
    if (testo_[i][p] != ' ') cambiato = true;
    testo_[i][p] = ' ';
  }
  return cambiato;
}

bool Controllo::lettura(const Diagnosi& d, const StatoCompilazione& stato) {
  const int i = d.sorgente == Sorgente::script_treno ? 1 : 0;
  const RecordScript* r = d.riga > 0 ? s_[i].record_a(d.campo) : nullptr;
  Spiegazione e = spiega(d, stato, i, r);
  e.d.codice = d.codice;
  aggiungi(std::move(e.d));
  if (e.record) return togli(e.script, *e.record);
  if (d.riga > 0 && d.codice != codice::generale_mancante) return togli_riga(i, d.riga);
  return false;
}

std::vector<const RecordScript*> Controllo::presenti(int i, TipoRecord tipo,
                                                     const RecordScript* fino) const {
  std::vector<const RecordScript*> v;
  for (const RecordScript& r : s_[i].schema.record) {
    if (fino && r.chiave.inizio > fino->chiave.inizio) break;
    if (r.difetto == Difetto::nessuno && e_di(r, tipo) && tolti_[i].count(r.chiave.inizio) == 0) {
      v.push_back(&r);
    }
  }
  return v;
}

std::vector<Nota> Controllo::occupanti(const StatoCompilazione& stato,
                                       const std::vector<std::int64_t>& celle) const {
  // One note per record, with every cell it holds.
  struct Occupante {
    int script;
    const RecordScript* record;
    std::vector<std::int64_t> celle;
    std::string cosa;
  };
  std::vector<Occupante> occupanti;
  for (std::int64_t c : celle) {
    if (c < 0 || static_cast<std::size_t>(c) >= stato.celle.size()) continue;
    // Plain variables, not a structured binding: the lambda below captures
    // them, which clang 14 does not allow for bindings.
    const std::pair<int, const RecordScript*> origine = record_di(origine_di(stato, c));
    const int i = origine.first;
    const RecordScript* r = origine.second;
    if (!r) continue;
    const std::uint8_t tipo = stato.celle[static_cast<std::size_t>(c)].tipo;
    std::string cosa = tipo == tipo_cella::codice && e_di(*r, TipoRecord::rallentamento)
                           ? "a code cell placed for this slowdown"
                           : elemento(tipo) + " placed here";
    auto it = std::find_if(occupanti.begin(), occupanti.end(),
                           [&](const Occupante& o) { return o.script == i && o.record == r; });
    if (it == occupanti.end()) {
      occupanti.push_back({i, r, {c}, std::move(cosa)});
    } else {
      it->celle.push_back(c);
    }
  }
  std::vector<Nota> note;
  for (const Occupante& o : occupanti) {
    std::string quali = o.celle.size() == 1 ? "cell " : "cells ";
    for (std::size_t k = 0; k < o.celle.size(); ++k) {
      quali +=
          (k == 0 ? "" : (k + 1 == o.celle.size() ? " and " : ", ")) + std::to_string(o.celle[k]);
    }
    note.push_back(s_[o.script].nota(
        o.record->chiave,
        quali + (o.celle.size() == 1 ? " already holds " : " already hold ") + o.cosa));
  }
  return note;
}

Diagnostica Controllo::fuori(const StatoCompilazione& stato, int i, const RecordScript& r) const {
  const std::int64_t ultima = metri_cella(stato.numero_celle, 0) - kMargineRecord;
  auto prova = [&](TipoRecord tipo, std::size_t k, std::int64_t p,
                   const char* cosa) -> std::optional<Diagnostica> {
    if (dentro_celle(stato, p)) return std::nullopt;
    if (p < 0)
      return al(i, r, tipo, k,
                std::string(cosa) + " " + std::to_string(p) +
                    " m is before the start "
                    "of the route");
    return al(i, r, tipo, k,
              std::string(cosa) + " " + std::to_string(p) +
                  " m is past the end of the cell array (last " + "position " +
                  std::to_string(ultima) + " m)");
  };
  auto v = [&](TipoRecord tipo, std::size_t k) -> std::int64_t {
    const CampoScript* c = campo(r, tipo, k);
    return c ? c->numero : 0;
  };
  for (TipoRecord t : r.tipi) {
    std::optional<Diagnostica> d;
    switch (t) {
      case TipoRecord::pendenza:
      case TipoRecord::indicatori_v_max:
      case TipoRecord::cartello:
      case TipoRecord::velocita:
      case TipoRecord::aderenza:
      case TipoRecord::segnale:
      case TipoRecord::abbattimento:
        d = prova(t, 0, v(t, 0), "position");
        break;
      case TipoRecord::curva: {
        d = prova(t, 0, v(t, 0), "curve start");
        const std::int64_t fine = v(t, 0) + v(t, 1);
        if (!d && fine > static_cast<std::int64_t>(stato.lunghezza_tabella) - 2) {
          d = al(i, r, t, 1,
                 "curve ends at " + std::to_string(fine) +
                     " m, past the end of the line geometry (last metre " +
                     std::to_string(static_cast<std::int64_t>(stato.lunghezza_tabella) - 2) + ")");
        }
        break;
      }
      case TipoRecord::montagna:
        d = prova(t, 0, v(t, 0), "mountain section start");
        if (!d) d = prova(t, 1, v(t, 1), "mountain section end");
        break;
      case TipoRecord::rallentamento:
        d = prova(t, 0, v(t, 0), "slowdown position");
        if (!d) d = prova(t, 2, v(t, 0) + v(t, 2), "slowdown end (start plus length)");
        break;
      case TipoRecord::stazione: {
        const std::int64_t p = v(t, 0);
        const std::int64_t ultima_stazione = metri_cella(stato.numero_celle, 0) - kMargineStazione;
        if (p < 0) {
          d = al(i, r, t, 0,
                 "station position " + std::to_string(p) + " m is before the start of the route");
        } else if (p > ultima_stazione) {
          d = al(i, r, t, 0,
                 "station position " + std::to_string(p) +
                     " m is too near the end of the cell array (last " + "station position " +
                     std::to_string(ultima_stazione) + " m)");
        } else {
          d = al(i, r, t, 2,
                 "station ends past the end of the cell array (last position " +
                     std::to_string(ultima) + " m)");
        }
        break;
      }
      default:
        break;
    }
    if (d) return *d;
  }
  return s_[i].al_campo(r.chiave, Gravita::errore, "position outside the cell array");
}

Diagnostica Controllo::spiega_lettura(int i, const RecordScript* r,
                                      const RecordScript** da_togliere) const {
  *da_togliere = r;
  const ScriptControllato& s = s_[i];
  if (r && r->difetto != Difetto::nessuno) {
    // The field the reader failed on, with its record kind.
    std::size_t k = r->campo_difettoso;
    TipoRecord tipo = r->tipi.empty() ? TipoRecord::lunghezza : r->tipi.front();
    for (TipoRecord t : r->tipi) {
      tipo = t;
      if (k < campi_di(t).size()) break;
      k -= campi_di(t).size();
    }
    const std::string nome = nome_campo(tipo, k);
    const std::string per = nome.empty() ? "" : " for " + nome;
    switch (r->difetto) {
      case Difetto::mancante:
        if (r->tipi.empty()) {
          return s.al_campo(r->chiave, Gravita::errore,
                            "the script ends after this comment, and the general section reads "
                            "one more field after it");
        }
        return s.a_fine_riga(r->ultima_riga, Gravita::errore,
                             "expected " +
                                 std::to_string(static_cast<std::int64_t>(campi_attesi(*r))) +
                                 " fields after " + citato(r->chiave.testo) + ", found " +
                                 std::to_string(static_cast<std::int64_t>(r->valori.size())));
      case Difetto::non_numero:
        return s.al_campo(
            r->valori.back(), Gravita::errore,
            "expected a whole number" + per + ", found " + citato(r->valori.back().testo));
      case Difetto::fuori_misura: {
        const Lettura l = campi_di(tipo)[k];
        const char* misura = l == Lettura::byte8      ? "a byte (0 to 255)"
                             : l == Lettura::intero16 ? "a 16-bit number (-32768 to 32767)"
                                                      : "a 32-bit number";
        return s.al_campo(r->valori.back(), Gravita::errore,
                          "value " + r->valori.back().testo + per + " does not fit " + misura);
      }
      case Difetto::testo_lungo:
        return s.al_campo(
            r->valori.back(), Gravita::errore,
            "text of " + std::to_string(static_cast<std::int64_t>(r->valori.back().testo.size())) +
                " bytes is longer than a field may be (65535 bytes)");
      case Difetto::nessuno:
        break;
    }
  }
  if (i == 0) {
    bool lunghezza = false;
    for (const RecordScript& x : s.schema.record) {
      if (x.sezione == ParteScript::generale && x.difetto == Difetto::nessuno &&
          e_di(x, TipoRecord::lunghezza)) {
        lunghezza = true;
      }
    }
    if (!lunghezza) {
      *da_togliere = nullptr;
      const std::string messaggio =
          "the general section has no `lunghezza percorso` record: without the route's length "
          "there is no cell array";
      return r ? s.al_campo(r->chiave, Gravita::errore, messaggio)
               : alla_riga(i, s.schema.riga_generale, messaggio);
    }
  }
  if (r && e_di(*r, TipoRecord::indicatori_v_max)) {
    for (std::size_t k = 0; k < 3; ++k) {
      const CampoScript* sinistra = campo(*r, TipoRecord::indicatori_v_max, 1 + k);
      const CampoScript* destra = campo(*r, TipoRecord::indicatori_v_max, 5 + k);
      if (!sinistra || !destra) break;
      const std::int64_t parola =
          arrotonda(static_cast<double>(destra->numero) / 5.0 + 20.0 * sinistra->numero);
      if (parola < INT16_MIN || parola > INT16_MAX) {
        return s.al_campo(*sinistra, Gravita::errore,
                          "board speeds " + std::to_string(sinistra->numero) + " and " +
                              std::to_string(destra->numero) + " give the word " +
                              std::to_string(parola) +
                              " (20 x left + right / 5), which does not fit 16 bits");
      }
    }
  }
  if (r && e_di(*r, TipoRecord::montagna) && presenti(i, TipoRecord::montagna, r).size() > 80) {
    return s.al_campo(r->chiave, Gravita::errore,
                      "more than 80 mountain sections: this one cannot be stored");
  }
  if (r && e_di(*r, TipoRecord::stazione)) {
    auto v = [&](std::size_t k) {
      const CampoScript* c = campo(*r, TipoRecord::stazione, k);
      return c ? c->numero : 0;
    };
    const std::int64_t orario = (v(13) * 60 + v(14)) * 60 + v(15);
    if (!entra_in_long(orario)) {
      return al(i, *r, TipoRecord::stazione, 13,
                "station time " + std::to_string(orario) + " s does not fit a 32-bit number");
    }
    if (!entra_in_long(v(0) + v(2)) || !entra_in_long(v(0) - v(2))) {
      return al(
          i, *r, TipoRecord::stazione, 2,
          "station length " + std::to_string(v(2)) + " m puts its ends outside 32-bit numbers");
    }
  }
  if (i == 1) {
    for (const RecordScript* x : presenti(1, TipoRecord::velocita)) {
      const CampoScript* v = campo(*x, TipoRecord::velocita, 1);
      const std::int64_t quinti = arrotonda(static_cast<double>(v->numero) / 5.0);
      if (quinti >= 0 && quinti <= 255) continue;
      *da_togliere = x;
      return s.al_campo(*v, Gravita::errore,
                        v->numero < 0 ? "speed " + v->testo + " km/h is negative"
                                      : "speed " + v->testo +
                                            " km/h does not fit the cell's byte (speed / 5 up to "
                                            "255, that is at most 1277 km/h)");
    }
  }
  if (r) return s.al_campo(r->chiave, Gravita::errore, "the reader cannot read this record");
  return alla_riga(i, 1, "the reader cannot read this script");
}

Spiegazione Controllo::spiega(const Diagnosi& d, const StatoCompilazione& stato, int i,
                              const RecordScript* r) const {
  Spiegazione e;
  e.script = i;
  e.record = r;
  const ScriptControllato& s = s_[i];
  if (d.codice == codice::lettura_fallita) {
    e.d = spiega_lettura(i, r, &e.record);
    return e;
  }
  if (d.codice == codice::generale_mancante) {
    e.record = nullptr;
    e.d = alla_riga(i, 1,
                    "no `[generale]` line: the line script's records follow a `[generale]` line "
                    "(one on the script's last line is not read)");
    return e;
  }
  if (!r) {
    e.d = alla_riga(i, d.riga, significato_codice(d.codice));
    return e;
  }
  // The cell a collision is about, and what it holds.
  const std::int64_t cella = d.celle.empty() ? -1 : d.celle.front();
  const bool cella_valida = cella >= 0 && static_cast<std::size_t>(cella) < stato.celle.size();
  const std::string cosa_tiene =
      cella_valida ? elemento(stato.celle[static_cast<std::size_t>(cella)].tipo) : "an element";
  auto collisione = [&](TipoRecord tipo, std::size_t k, const std::string& prima) {
    Diagnostica x = al(
        i, *r, tipo, k,
        prima + " falls in cell " + std::to_string(cella) + ", which already holds " + cosa_tiene);
    x.note = occupanti(stato, d.celle);
    return x;
  };
  auto v = [&](TipoRecord tipo, std::size_t k) -> std::int64_t {
    const CampoScript* c = campo(*r, tipo, k);
    return c ? c->numero : 0;
  };
  using T = TipoRecord;
  switch (d.codice) {
    case codice::lunghezza_eccessiva:
      e.d = al(i, *r, T::lunghezza, 0,
               v(T::lunghezza, 0) < 0
                   ? "route length " + std::to_string(v(T::lunghezza, 0)) + " m is negative"
                   : "route length " + std::to_string(v(T::lunghezza, 0)) +
                         " m is above the limit of " + std::to_string(kLunghezzaMassima) + " m");
      break;
    case codice::ripetizione_inizio:
      e.d = al(i, *r, T::ripetizione, 0,
               "cab-signalling start " + std::to_string(v(T::ripetizione, 0)) +
                   " m is not a multiple of 50 m");
      break;
    case codice::ripetizione_fine:
      e.d = al(i, *r, T::ripetizione, 1,
               "cab-signalling end " + std::to_string(v(T::ripetizione, 1)) +
                   " m is not a multiple of 50 m");
      break;
    case codice::ripetizione_codici:
      e.d = s.al_campo(r->chiave, Gravita::errore,
                       "cab-signalling keyword " + citato(r->chiave.testo) +
                           " names neither 4 nor 9 codes: expected `4` or `9` in it, as in "
                           "`ripetizione segnali 4 codici`");
      break;
    case codice::cartello_occupato:
      e.d = collisione(T::cartello, 0,
                       "indicator board at " + std::to_string(v(T::cartello, 0)) + " m");
      break;
    case codice::abbattimento_occupato:
      e.d = collisione(T::abbattimento, 0,
                       "code cell at " + std::to_string(v(T::abbattimento, 0)) + " m");
      break;
    case codice::segnale_occupato:
      e.d = collisione(T::segnale, 0, "signal at " + std::to_string(v(T::segnale, 0)) + " m");
      break;
    case codice::avviso_occupato:
      e.d = collisione(T::rallentamento, 0,
                       "the warning board of the slowdown at " +
                           std::to_string(v(T::rallentamento, 0)) + " m, 1200 m before its start,");
      break;
    case codice::inizio_occupato:
      e.d = collisione(
          T::rallentamento, 0,
          "the start of the slowdown at " + std::to_string(v(T::rallentamento, 0)) + " m");
      break;
    case codice::fine_occupato:
      e.d = collisione(T::rallentamento, 2,
                       "the end of the slowdown at " +
                           std::to_string(v(T::rallentamento, 0) + v(T::rallentamento, 2)) + " m");
      break;
    case codice::prima_avviso_occupato:
      e.d = al(i, *r, T::rallentamento, 4,
               "cell " + std::to_string(cella) +
                   ", one of the four cells before the warning board of the "
                   "slowdown at " +
                   std::to_string(v(T::rallentamento, 0)) + " m, already holds " + cosa_tiene +
                   " (f_ta asks for those cells)");
      e.d.note = occupanti(stato, d.celle);
      break;
    case codice::indicatori_occupato:
      e.d = collisione(
          T::indicatori_v_max, 0,
          "pair of maximum-speed boards at " + std::to_string(v(T::indicatori_v_max, 0)) + " m");
      break;
    case codice::stazione_posizione:
      e.d = al(
          i, *r, T::stazione, 0,
          "station position " + std::to_string(v(T::stazione, 0)) + " m is not a multiple of 50 m");
      break;
    case codice::stazione_lunghezza:
      e.d = al(
          i, *r, T::stazione, 2,
          "station length " + std::to_string(v(T::stazione, 2)) + " m is not a multiple of 100 m");
      break;
    case codice::tabella_piena: {
      if (e_di(*r, T::cartello)) {
        e.d = s.al_campo(r->chiave, Gravita::errore,
                         "more than 80 indicator boards: the parameter table holds 80 board "
                         "texts");
        break;
      }
      const std::int64_t cartelli = stato.numero_cartelli;
      const std::int64_t numero = static_cast<std::int64_t>(presenti(i, T::stazione, r).size());
      e.d = s.al_campo(r->chiave, Gravita::errore,
                       "too many stations: with " + std::to_string(cartelli) +
                           " indicator boards in the line script, the parameter table can take " +
                           std::to_string(std::max<std::int64_t>(kVociCondivise - cartelli, 0)) +
                           " stations, and this is station " + std::to_string(numero));
      break;
    }
    case codice::fuori_celle:
      e.d = fuori(stato, i, *r);
      break;
    case codice::stazioni_vicine: {
      const auto stazioni = presenti(i, T::stazione, r);
      const std::size_t numero = stazioni.size();
      std::int64_t inizio = 0, fine_prima = 0;
      if (numero >= 2 && numero < stato.parametri.size()) {
        inizio = stato.parametri[numero].inizio;
        fine_prima = stato.parametri[numero - 1].fine;
      }
      e.d = al(i, *r, T::stazione, 0,
               "station starts at " + std::to_string(inizio) +
                   " m, less than 350 m after the end of the "
                   "previous station (" +
                   std::to_string(fine_prima) + " m)");
      if (numero >= 2) {
        e.d.note.push_back(
            s.nota(stazioni[numero - 2]->chiave,
                   "the previous station, which ends at " + std::to_string(fine_prima) + " m"));
      }
      break;
    }
    case codice::stazione_troppo_presto: {
      const std::size_t numero = presenti(i, T::stazione, r).size();
      const std::int64_t fine = numero < stato.parametri.size() ? stato.parametri[numero].fine : 0;
      e.d = al(i, *r, T::stazione, 0,
               "station ends at " + std::to_string(fine) +
                   " m: an ordinary station (type below 25) must end after 100 m");
      break;
    }
    case codice::curva_non_valida: {
      bool cifra = false;
      for (const auto& [c, svolta] : kClassiCurva) {
        if (r->chiave.testo.find(c) != std::string::npos) cifra = true;
      }
      e.d = cifra ? al(i, *r, T::curva, 0,
                       "the line geometry would pass metre " + std::to_string(kLunghezzaMassima))
                  : s.al_campo(r->chiave, Gravita::errore,
                               "curve keyword " + citato(r->chiave.testo) +
                                   " has no class digit 1 to 6 (as in `curvas4`)");
      break;
    }
    default:
      e.d = s.al_campo(r->chiave, Gravita::errore, significato_codice(d.codice));
      break;
  }
  return e;
}

void Controllo::progressive() {
  bool trovato = false;
  for (int k = 0; k < 3; ++k) {
    const TipoRecord t = static_cast<TipoRecord>(static_cast<int>(TipoRecord::progressiva_tre) + k);
    const auto tutti = presenti(0, t);
    if (tutti.empty()) continue;
    const RecordScript& r = *tutti.back();
    for (std::size_t i = 0; i < 2; ++i) {
      const CampoScript* c = campo(r, t, i);
      if (!c || c->numero % 50 == 0) continue;
      Diagnostica d = s_[0].al_campo(*c, Gravita::errore,
                                     std::string("chainage ") + (i == 0 ? "start " : "end ") +
                                         c->testo + " is not a multiple of 50 m");
      d.codice = codice::progressiva_non_multipla;
      aggiungi(std::move(d));
      trovato = true;
      break;
    }
  }
  if (!trovato) {
    Diagnostica d = alla_riga(0, s_[0].schema.riga_generale,
                              significato_codice(codice::progressiva_non_multipla));
    d.codice = codice::progressiva_non_multipla;
    aggiungi(std::move(d));
  }
}

void Controllo::post_pass(const StatoCompilazione& stato, const RisultatoCompilazione& risultato) {
  for (const Diagnosi& d : stato.diagnosi) {
    if (d.sorgente != Sorgente::post_pass || d.celle.size() < 2) continue;
    const auto [i, r] = record_di(origine_di(stato, d.celle[0]));
    const std::vector<std::int64_t> candidate(d.celle.begin() + 2, d.celle.end());
    Diagnostica x;
    const std::string luogo = std::to_string(d.posizione) + " m";
    std::string messaggio;
    switch (d.codice) {
      case codice::segnale_prima_avviso:
        messaggio =
            "no free cell for the code in front of this signal: a slowdown's warning board "
            "stands within 1000 m after it, and the two cells before the signal are taken";
        break;
      case codice::codici_prima_inizio: {
        const std::int64_t distanza = candidate.empty() ? 0 : (d.celle[0] - candidate[0]) * 50;
        messaggio = "no free cell for the code " + std::to_string(distanza) + " to " +
                    std::to_string(distanza + 100) + " m before the start of this slowdown";
        break;
      }
      case codice::codici_rallentamento:
        messaggio = candidate.size() == 3
                        ? "no free cell for the code at " + luogo + ", inside this slowdown"
                        : "no free cell for the code in front of the first signal after this "
                          "slowdown";
        break;
      default:
        messaggio = significato_codice(d.codice);
        break;
    }
    if (r) {
      const TipoRecord tipo = d.codice == codice::segnale_prima_avviso ? TipoRecord::segnale
                                                                       : TipoRecord::rallentamento;
      x = al(i, *r, tipo, 0, messaggio);
    } else {
      x = alla_riga(0, 1, messaggio);
    }
    x.codice = d.codice;
    if (d.codice == codice::segnale_prima_avviso) {
      const auto [j, chi] = record_di(origine_di(stato, d.celle[1]));
      if (chi)
        x.note.push_back(
            s_[j].nota(chi->chiave, "the slowdown whose warning board asks for the code"));
    }
    if (d.codice == codice::codici_rallentamento && candidate.size() == 2) {
      const auto [j, chi] = record_di(origine_di(stato, candidate[0] + 1));
      if (chi) x.note.push_back(s_[j].nota(chi->chiave, "the signal"));
    }
    for (Nota& nota : occupanti(stato, candidate)) x.note.push_back(std::move(nota));
    aggiungi(std::move(x));
  }
  if (risultato.esito == Esito::errore_1250 || risultato.esito == Esito::errore_1251) {
    const bool primo = risultato.esito == Esito::errore_1250;
    const auto [i, r] = record_di(origine_di(stato, 1));
    const std::string messaggio =
        std::string("cell 1 must keep its ") + (primo ? "first" : "second") +
        " data word free for the route's " + (primo ? "marker" : "check code") +
        (r ? ", but this record puts " + elemento(stato.celle[1].tipo) + " there"
           : ", but an element was put there");
    Diagnostica x =
        r ? s_[i].al_campo(r->chiave, Gravita::errore, messaggio) : alla_riga(0, 1, messaggio);
    x.codice = primo ? codice::marcatore_cella_1 : codice::codice_cella_1;
    aggiungi(std::move(x));
  }
}

}  // namespace

EsitoControllo controlla_scenario(const std::string& nome_percorso, const std::string& numero_treno,
                                  const ScriptDaControllare& linea,
                                  const ScriptDaControllare& treno,
                                  const OpzioniControllo& opzioni) {
  Controllo controllo(nome_percorso, numero_treno, linea, treno);
  controllo.cerca_errori();

  std::vector<Diagnostica> tutte = controllo.errori();
  const std::set<std::string> spenti(opzioni.avvisi_spenti.begin(), opzioni.avvisi_spenti.end());
  for (Diagnostica& a : avvisi_script(controllo.script(0), controllo.script(1))) {
    if (spenti.count(a.nome) != 0 || controllo.riga_errata(a.file, a.riga)) continue;
    tutte.push_back(std::move(a));
  }
  const auto ordine = [&](const Diagnostica& d) {
    const int file = d.file == linea.file ? 0 : 1;
    return std::make_tuple(file, d.riga, d.colonna, d.gravita);
  };
  std::stable_sort(tutte.begin(), tutte.end(), [&](const Diagnostica& a, const Diagnostica& b) {
    return ordine(a) < ordine(b);
  });

  EsitoControllo esito;
  esito.completo = controllo.completo();
  for (Diagnostica& d : tutte) {
    if (d.gravita == Gravita::errore) {
      ++esito.errori;
      if (opzioni.limite_errori != 0 && esito.errori > opzioni.limite_errori) {
        ++esito.errori_non_mostrati;
        continue;
      }
    } else {
      ++esito.avvisi;
    }
    esito.diagnostiche.push_back(std::move(d));
  }
  return esito;
}

}  // namespace scenario
