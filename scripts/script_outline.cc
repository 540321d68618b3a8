#include "scripts/script_outline.h"

#include <algorithm>
#include <array>

#include "scripts/field_reader.h"
#include "scripts/keywords.h"

namespace scenario {

namespace {

using L = Lettura;

constexpr std::array<L, 1> kUno = {L::long32};
constexpr std::array<L, 2> kDue = {L::long32, L::long32};
constexpr std::array<L, 3> kTre = {L::long32, L::long32, L::long32};
constexpr std::array<L, 6> kSei = {L::long32, L::long32, L::long32,
                                   L::long32, L::long32, L::long32};
constexpr std::array<L, 9> kNove = {L::long32, L::long32, L::long32, L::long32, L::long32,
                                    L::long32, L::long32, L::long32, L::long32};
constexpr std::array<L, 11> kUndici = {L::long32, L::long32, L::long32, L::long32,
                                       L::long32, L::long32, L::long32, L::long32,
                                       L::long32, L::long32, L::long32};
constexpr std::array<L, 2> kCartello = {L::long32, L::testo};
constexpr std::array<L, 3> kOrologio = {L::intero16, L::intero16, L::intero16};
constexpr std::array<L, 1> kSabbia = {L::intero16};
constexpr std::array<L, 17> kStazione = {
    L::long32,   L::byte8,    L::long32, L::byte8,    L::byte8,    L::byte8,
    L::intero16, L::intero16, L::byte8,  L::intero16, L::intero16, L::intero16,
    L::byte8,    L::long32,   L::long32, L::long32,   L::testo};

/// Where the record kinds of each keyword table begin in `TipoRecord`.
constexpr std::uint8_t kPrimoLinea = static_cast<std::uint8_t>(TipoRecord::pendenza);
constexpr std::uint8_t kPrimoTreno = static_cast<std::uint8_t>(TipoRecord::massa_frenata);

TipoRecord tipo_di(RecordGenerale r) {
  return static_cast<TipoRecord>(static_cast<std::uint8_t>(r));
}
TipoRecord tipo_di(RecordLinea r) {
  return static_cast<TipoRecord>(kPrimoLinea + static_cast<std::uint8_t>(r));
}
TipoRecord tipo_di(RecordTreno r) {
  return static_cast<TipoRecord>(kPrimoTreno + static_cast<std::uint8_t>(r));
}

/// Consecutive comment fields the reader skips in the general section and
/// in the body.
constexpr int kCommentiGenerale = 10;
constexpr int kCommentiCorpo = 2;

/// True when `testo` is a whole number as the reader writes one: an
/// optional "-" and digits.
bool intero(std::string_view testo) {
  if (!testo.empty() && testo.front() == '-') testo.remove_prefix(1);
  return !testo.empty() &&
         std::all_of(testo.begin(), testo.end(), [](char c) { return c >= '0' && c <= '9'; });
}

/// The field reader over a script, able to start again at any line.
class Cursore {
 public:
  Cursore(std::string_view testo, const ScriptOutline& schema)
      : testo_(testo), schema_(schema), campi_(testo) {}

  bool AtEnd() const { return campi_.AtEnd(); }

  /// Reads one field the way `lettura` says into `c`; the fault the reader
  /// would find, if any (`c` then holds the faulty field as far as read).
  Difetto Leggi(Lettura lettura, CampoScript* c) {
    if (campi_.AtEnd()) return Difetto::mancante;
    bool ok = false;
    switch (lettura) {
      case Lettura::testo: {
        std::string t;
        ok = campi_.ReadText(&t);
        Riempi(c);
        return ok ? Difetto::nessuno : Difetto::testo_lungo;
      }
      case Lettura::long32: {
        std::int32_t v = 0;
        ok = campi_.ReadLong(&v);
        c->numero = v;
        break;
      }
      case Lettura::intero16: {
        std::int16_t v = 0;
        ok = campi_.ReadInteger(&v);
        c->numero = v;
        break;
      }
      case Lettura::byte8: {
        std::uint8_t v = 0;
        ok = campi_.ReadByte(&v);
        c->numero = v;
        break;
      }
    }
    Riempi(c);
    if (ok) return Difetto::nessuno;
    c->numero = 0;
    return intero(c->testo) ? Difetto::fuori_misura : Difetto::non_numero;
  }

  /// Goes on at the start of line `riga`; past the last line nothing is
  /// left to read.
  void Riprendi(int riga) {
    base_ = riga >= 1 && riga <= schema_.righe() ? schema_.inizi_riga[riga - 1] : testo_.size();
    riga_base_ = riga;
    campi_ = FieldReader(testo_.substr(base_));
  }

 private:
  void Riempi(CampoScript* c) const {
    c->inizio = base_ + campi_.FieldOffset();
    c->riga = riga_base_ - 1 + campi_.FieldLine();
    c->colonna = schema_.colonna(c->inizio, c->riga);
    c->testo.assign(testo_.substr(c->inizio, campi_.FieldLength()));
  }

  std::string_view testo_;
  const ScriptOutline& schema_;
  std::size_t base_ = 0;
  int riga_base_ = 1;
  FieldReader campi_;
};

/// Cuts one script, following the reader step by step.
class Taglio {
 public:
  Taglio(std::string_view testo, ScriptOutline& schema, bool con_curve)
      : schema_(schema), cursore_(testo, schema), con_curve_(con_curve) {}

  void linea() {
    if (!preambolo(true)) return;
    if (!generale()) return;
    corpo(kCommentiCorpo, ParteScript::corpo);
  }

  void treno() {
    if (!preambolo(false)) return;
    corpo(kCommentiCorpo, ParteScript::corpo);
  }

 private:
  /// Reads up to "[generale]"; false when the script has none. The line
  /// reader does not take a "[generale]" that ends the script.
  bool preambolo(bool ultimo_escluso) {
    while (!cursore_.AtEnd()) {
      CampoScript c;
      if (cursore_.Leggi(Lettura::testo, &c) != Difetto::nessuno) return false;
      if (ultimo_escluso && cursore_.AtEnd()) return false;
      if (contiene(c.testo, kGenerale)) {
        schema_.riga_generale = c.riga;
        ultima_riga_ = c.riga;
        return true;
      }
    }
    return false;
  }

  /// Reads a keyword field as a new record; false at the end of the script.
  bool chiave(ParteScript sezione) {
    RecordScript r;
    if (cursore_.Leggi(Lettura::testo, &r.chiave) != Difetto::nessuno) return false;
    r.sezione = sezione;
    r.a_capo = r.chiave.riga > ultima_riga_;
    r.ultima_riga = r.chiave.riga;
    ultima_riga_ = r.chiave.riga;
    schema_.record.push_back(std::move(r));
    return true;
  }

  RecordScript& ultimo() { return schema_.record.back(); }

  /// The general section; false when the script ends inside it in a way
  /// that leaves no body to read.
  bool generale() {
    for (;;) {
      if (cursore_.AtEnd()) return false;
      if (!chiave(ParteScript::generale)) return false;
      if (cursore_.AtEnd()) {
        schema_.record.pop_back();  // a last field is never interpreted
        return false;
      }
      // Here the reader skips comments with no test for the end.
      for (int volte = 0; volte < kCommentiGenerale; ++volte) {
        if (!contiene(ultimo().chiave.testo, "-")) break;
        ultimo().commento = true;
        if (cursore_.AtEnd()) {
          ultimo().difetto = Difetto::mancante;
          return false;
        }
        if (!chiave(ParteScript::generale)) return false;
      }
      for (const auto& voce : kTabellaGenerale) {
        if (voce.parola.corrisponde(ultimo().chiave.testo))
          ultimo().tipi.push_back(tipo_di(voce.record));
      }
      if (!valori()) continue;
      const std::string& t = ultimo().chiave.testo;
      const std::size_t primo = t.find_first_not_of(" \t");
      const bool commento = primo != std::string::npos && t[primo] == '-';
      if (!commento && contiene(t, "[") && contiene(t, "]")) {
        ultimo().intestazione = true;
        return true;
      }
    }
  }

  /// The body (the whole train script after its preamble).
  void corpo(int commenti, ParteScript sezione) {
    for (;;) {
      if (cursore_.AtEnd()) return;
      if (!chiave(sezione)) return;
      if (cursore_.AtEnd()) {
        schema_.record.pop_back();
        return;
      }
      for (int volte = 0; volte < commenti && contiene(ultimo().chiave.testo, "-"); ++volte) {
        ultimo().commento = true;
        if (!chiave(sezione)) return;
        if (cursore_.AtEnd()) {
          schema_.record.pop_back();
          return;
        }
      }
      const std::string& t = ultimo().chiave.testo;
      if (schema_.tipo == TipoScript::treno) {
        for (const auto& voce : kTabellaTreno) {
          if (voce.parola.corrisponde(t)) ultimo().tipi.push_back(tipo_di(voce.record));
        }
      } else {
        for (const auto& voce : kTabellaLinea) {
          if (voce.record == RecordLinea::curva && !con_curve_) continue;
          if (voce.parola.corrisponde(t)) ultimo().tipi.push_back(tipo_di(voce.record));
        }
      }
      valori();
    }
  }

  /// Reads the value fields of the last record; false when one is faulty
  /// (the cutting then goes on at the next line the reader would read).
  bool valori() {
    RecordScript& r = ultimo();
    int riga_prima = r.chiave.riga;
    std::size_t indice = 0;
    for (TipoRecord t : r.tipi) {
      for (Lettura l : campi_di(t)) {
        CampoScript c;
        const Difetto d = cursore_.Leggi(l, &c);
        if (d == Difetto::mancante || (d != Difetto::nessuno && c.riga > riga_prima)) {
          // The field would come from a later line, which cannot lend it.
          r.difetto = Difetto::mancante;
          r.campo_difettoso = indice;
          if (d != Difetto::mancante) cursore_.Riprendi(c.riga);
          ultima_riga_ = 0;
          return false;
        }
        r.valori.push_back(c);
        if (d != Difetto::nessuno) {
          r.difetto = d;
          r.campo_difettoso = indice;
          r.ultima_riga = std::max(r.ultima_riga, c.riga);
          cursore_.Riprendi(c.riga + 1);
          ultima_riga_ = 0;
          return false;
        }
        riga_prima = c.riga;
        r.ultima_riga = std::max(r.ultima_riga, c.riga);
        ultima_riga_ = c.riga;
        ++indice;
      }
    }
    return true;
  }

  ScriptOutline& schema_;
  Cursore cursore_;
  bool con_curve_;
  int ultima_riga_ = 0;  ///< line of the last field read (0 after a restart)
};

}  // namespace

std::span<const Lettura> campi_di(TipoRecord tipo) {
  switch (tipo) {
    case TipoRecord::lunghezza:
    case TipoRecord::sfondo_uno:
    case TipoRecord::sfondo_due:
    case TipoRecord::sfondo_tre:
    case TipoRecord::massa_frenata:
    case TipoRecord::vetture:
      return kUno;
    case TipoRecord::progressiva_tre:
    case TipoRecord::progressiva_due:
    case TipoRecord::progressiva_uno:
    case TipoRecord::montagna:
      return kTre;
    case TipoRecord::ripetizione:
    case TipoRecord::pendenza:
    case TipoRecord::curva:
    case TipoRecord::velocita:
    case TipoRecord::aderenza:
    case TipoRecord::abbattimento:
      return kDue;
    case TipoRecord::indicatori_v_max:
      return kNove;
    case TipoRecord::cartello:
      return kCartello;
    case TipoRecord::orologio:
      return kOrologio;
    case TipoRecord::sabbia:
      return kSabbia;
    case TipoRecord::segnale:
      return kUndici;
    case TipoRecord::rallentamento:
      return kSei;
    case TipoRecord::stazione:
      return kStazione;
  }
  return {};
}

std::string_view ScriptOutline::riga(std::string_view testo, int n) const {
  if (n < 1 || n > righe()) return {};
  const std::size_t inizio = inizi_riga[static_cast<std::size_t>(n - 1)];
  std::size_t fine = n < righe() ? inizi_riga[static_cast<std::size_t>(n)] : testo.size();
  fine = std::min(fine, testo.size());
  while (fine > inizio && (testo[fine - 1] == '\n' || testo[fine - 1] == '\r')) --fine;
  return testo.substr(inizio, fine - inizio);
}

int ScriptOutline::colonna(std::size_t inizio, int n) const {
  if (n < 1 || n > righe()) return 1;
  return static_cast<int>(inizio - inizi_riga[static_cast<std::size_t>(n - 1)]) + 1;
}

ScriptOutline MakeOutline(std::string_view testo, TipoScript tipo, bool con_curve) {
  ScriptOutline schema;
  schema.tipo = tipo;
  // Line ends as the field reader counts them: CR LF, a lone LF, a lone CR.
  schema.inizi_riga.push_back(0);
  for (std::size_t p = 0; p < testo.size(); ++p) {
    if (testo[p] == '\r') {
      if (p + 1 < testo.size() && testo[p + 1] == '\n') ++p;
      schema.inizi_riga.push_back(p + 1);
    } else if (testo[p] == '\n') {
      schema.inizi_riga.push_back(p + 1);
    }
  }
  // A last line end opens no further line.
  if (schema.inizi_riga.size() > 1 && schema.inizi_riga.back() == testo.size()) {
    schema.inizi_riga.pop_back();
  }
  Taglio taglio(testo, schema, con_curve);
  if (tipo == TipoScript::linea) {
    taglio.linea();
  } else {
    taglio.treno();
  }
  return schema;
}

}  // namespace scenario
