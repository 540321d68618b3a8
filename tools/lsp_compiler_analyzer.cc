#include "tools/lsp_compiler_analyzer.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <tuple>

#include "base/file_names.h"
#include "base/memory_file_system.h"
#include "compiler/compile_driver.h"
#include "compiler/compile_state.h"
#include "compiler/error_codes.h"
#include "scripts/builtin_scripts.h"
#include "scripts/keywords.h"
#include "tools/check.h"
#include "tools/lsp_positions.h"

namespace scenario {

namespace {

/// The route and train the check compiles the two texts as: any names
/// serve, the diagnostics name the scripts by their URIs.
constexpr const char* kPercorso = "percorso";
constexpr const char* kTreno = "treno";

/// What a record puts on the route, for the outline.
enum class Elemento { nessuno, stazione, segnale, cartello, indicatori };

/// One record of a script language, as the analyser knows it.
struct RecordNoto {
  ParolaChiave parola;
  std::string_view chiave;   ///< its keyword in the built-in scripts (else the test text)
  std::string_view esempio;  ///< a line of the built-in scripts holding it ("" for none)
  int campo_testo = 0;       ///< the value field (from 1) read as text; 0 for none
  int numero_campi = 0;      ///< value fields of the example; 0 when unknown
  Elemento elemento = Elemento::nessuno;
};

/// The bytes of one field within its line.
struct CampoRiga {
  std::size_t inizio = 0;
  std::size_t fine = 0;
};

bool spazio(char c) {
  return c == ' ' || c == '\t';
}

/// The keyword field of a line: up to the first comma, without blanks
/// around it.
CampoRiga campo_chiave(std::string_view riga) {
  CampoRiga c{0, std::min(riga.find(','), riga.size())};
  while (c.inizio < c.fine && spazio(riga[c.inizio])) ++c.inizio;
  while (c.fine > c.inizio && spazio(riga[c.fine - 1])) --c.fine;
  return c;
}

/// The keyword field and the value fields of a line read as one record.
/// A numeric field ends at a comma or at the first blank after it, a text
/// field (value field `campo_testo`) at a comma or the line's end.
std::vector<CampoRiga> campi_della_riga(std::string_view riga, int campo_testo) {
  std::vector<CampoRiga> campi{campo_chiave(riga)};
  std::size_t pos = riga.find(',');
  if (pos == std::string_view::npos) return campi;
  ++pos;
  for (int n = 1;; ++n) {
    while (pos < riga.size() && spazio(riga[pos])) ++pos;
    CampoRiga c{pos, pos};
    if (n == campo_testo) {
      c.fine = std::min(riga.find(',', pos), riga.size());
      pos = c.fine;
      while (c.fine > c.inizio && spazio(riga[c.fine - 1])) --c.fine;
    } else {
      while (pos < riga.size() && riga[pos] != ',' && !spazio(riga[pos])) ++pos;
      c.fine = pos;
      while (pos < riga.size() && spazio(riga[pos])) ++pos;
    }
    campi.push_back(c);
    if (pos >= riga.size()) break;
    if (riga[pos] == ',') ++pos;
  }
  return campi;
}

std::string_view testo_di(std::string_view riga, const CampoRiga& c) {
  return riga.substr(c.inizio, c.fine - c.inizio);
}

/// Value field of the record that holds text, and what the record places.
std::pair<int, Elemento> forma(RecordGenerale) {
  return {0, Elemento::nessuno};
}
std::pair<int, Elemento> forma(RecordLinea r) {
  if (r == RecordLinea::cartello) return {2, Elemento::cartello};
  if (r == RecordLinea::indicatori_v_max) return {0, Elemento::indicatori};
  return {0, Elemento::nessuno};
}
std::pair<int, Elemento> forma(RecordTreno r) {
  if (r == RecordTreno::stazione) return {17, Elemento::stazione};
  if (r == RecordTreno::segnale) return {0, Elemento::segnale};
  return {0, Elemento::nessuno};
}

/// Adds the records of `tabella`, each with its first line in `script`.
template <typename Record, std::size_t N, std::size_t M>
void aggiungi(const std::array<VoceTabella<Record>, N>& tabella,
              const std::array<std::string_view, M>& script, std::vector<RecordNoto>* records) {
  for (const VoceTabella<Record>& voce : tabella) {
    RecordNoto r;
    r.parola = voce.parola;
    r.chiave = voce.parola.testo;
    std::tie(r.campo_testo, r.elemento) = forma(voce.record);
    for (std::string_view riga : script) {
      const std::string_view chiave = testo_di(riga, campo_chiave(riga));
      if (chiave.find('-') != std::string_view::npos || !voce.parola.corrisponde(chiave)) continue;
      r.chiave = chiave;
      r.esempio = riga;
      r.numero_campi = static_cast<int>(campi_della_riga(riga, r.campo_testo).size()) - 1;
      break;
    }
    records->push_back(r);
  }
}

/// The records of a script language, in the order its reader tests them.
const std::vector<RecordNoto>& records(TipoScript tipo) {
  static const std::vector<RecordNoto> linea = [] {
    std::vector<RecordNoto> r;
    aggiungi(kTabellaGenerale, kScriptLinea, &r);
    aggiungi(kTabellaLinea, kScriptLinea, &r);
    return r;
  }();
  static const std::vector<RecordNoto> treno = [] {
    std::vector<RecordNoto> r;
    aggiungi(kTabellaTreno, kScriptTreno, &r);
    return r;
  }();
  static const std::vector<RecordNoto> nessuno;
  switch (tipo) {
    case TipoScript::linea:
      return linea;
    case TipoScript::treno:
      return treno;
    case TipoScript::altro:
      break;
  }
  return nessuno;
}

/// The record a line holds, or null for a comment, a header or a line that
/// matches no keyword.
const RecordNoto* record_della_riga(std::string_view riga, TipoScript tipo) {
  const std::string_view chiave = testo_di(riga, campo_chiave(riga));
  if (chiave.empty() || chiave.find('-') != std::string_view::npos) return nullptr;
  for (const RecordNoto& r : records(tipo)) {
    if (r.parola.corrisponde(chiave)) return &r;
  }
  return nullptr;
}

/// The example of a record, as Markdown.
std::string esempio_markdown(const RecordNoto& r) {
  if (r.esempio.empty()) return "";
  return "Example:\n```\n" + std::string(r.esempio) + "\n```";
}

}  // namespace

std::vector<Problema> AnalizzatoreCompilatore::problemi(std::string_view testo_linea,
                                                        std::string_view testo_treno,
                                                        const std::string& uri_linea,
                                                        const std::string& uri_treno) {
  // The same check as `scenario_tool check`, every error shown; the two
  // scripts are named by their URIs, so each diagnostic says where it goes.
  OpzioniControllo opzioni;
  opzioni.limite_errori = 0;
  const EsitoControllo esito =
      controlla_scenario(kPercorso, kTreno, {uri_linea, std::string(testo_linea)},
                         {uri_treno, std::string(testo_treno)}, opzioni);
  // A line script checked alone has no train script to report against.
  const auto nota = [&](const std::string& file) {
    return !file.empty() && (file == uri_linea || file == uri_treno);
  };
  std::vector<Problema> problemi;
  for (const Diagnostica& d : esito.diagnostiche) {
    if (!nota(d.file)) continue;
    Problema p;
    p.uri = d.file;
    p.riga = std::max(d.riga, 1);
    p.colonna = std::max(d.colonna, 0);
    p.colonna_fine = std::max(d.colonna_fine, 0);
    p.gravita = d.gravita;
    p.codice = d.codice;
    p.nome = d.nome;
    p.messaggio = d.messaggio;
    for (const Nota& n : d.note) {
      if (!nota(n.file)) continue;
      p.note.push_back({n.file, std::max(n.riga, 1), std::max(n.colonna, 0), n.messaggio});
    }
    problemi.push_back(std::move(p));
  }
  return problemi;
}

std::optional<Descrizione> AnalizzatoreCompilatore::descrizione(std::string_view testo,
                                                                TipoScript tipo, int riga,
                                                                int colonna) {
  const RigheTesto righe(testo);
  const std::string_view linea = righe.riga(riga);
  const RecordNoto* r = record_della_riga(linea, tipo);
  if (!r) return std::nullopt;
  const std::vector<CampoRiga> campi = campi_della_riga(linea, r->campo_testo);
  const std::size_t byte = static_cast<std::size_t>(std::max(colonna - 1, 0));
  const auto campo = std::find_if(campi.begin(), campi.end(), [byte](const CampoRiga& c) {
    return c.inizio <= byte && byte <= c.fine;
  });
  if (campo == campi.end()) return std::nullopt;
  const std::string parola(testo_di(linea, campi[0]));
  const std::string di_tutti =
      r->numero_campi > 0 ? " of " + std::to_string(r->numero_campi) : std::string();
  Descrizione d;
  d.colonna = static_cast<int>(campo->inizio) + 1;
  d.colonna_fine = static_cast<int>(campo->fine) + 1;
  if (campo == campi.begin()) {
    d.testo = "Record `" + parola + "`";
    if (r->numero_campi > 0) d.testo += ": " + std::to_string(r->numero_campi) + " value fields";
  } else {
    const auto indice = campo - campi.begin();
    d.testo = "Record `" + parola + "`, field " + std::to_string(indice) + di_tutti + ": `" +
              std::string(testo_di(linea, *campo)) + "`";
  }
  const std::string esempio = esempio_markdown(*r);
  if (!esempio.empty()) d.testo += "\n\n" + esempio;
  return d;
}

Proposte AnalizzatoreCompilatore::proposte(std::string_view testo, TipoScript tipo, int riga,
                                           int colonna) {
  const RigheTesto righe(testo);
  const std::string_view linea = righe.riga(riga);
  const std::size_t cursore =
      std::min(static_cast<std::size_t>(std::max(colonna - 1, 0)), linea.size());
  std::size_t inizio = 0;
  while (inizio < cursore && spazio(linea[inizio])) ++inizio;
  Proposte p;
  p.colonna = static_cast<int>(inizio) + 1;
  p.colonna_fine = static_cast<int>(cursore) + 1;
  // Only a keyword being written: letters, digits, underscores and blanks.
  for (std::size_t i = inizio; i < cursore; ++i) {
    const auto c = static_cast<unsigned char>(linea[i]);
    if (!std::isalnum(c) && c != '_' && c != ' ') return p;
  }
  for (const RecordNoto& r : records(tipo)) {
    p.voci.push_back({std::string(r.chiave), std::string(r.esempio), esempio_markdown(r)});
  }
  return p;
}

std::vector<Simbolo> AnalizzatoreCompilatore::simboli(std::string_view testo, TipoScript tipo) {
  std::vector<Simbolo> simboli;
  const RigheTesto righe(testo);
  for (int n = 1; n <= righe.numero(); ++n) {
    const std::string_view linea = righe.riga(n);
    const RecordNoto* r = record_della_riga(linea, tipo);
    if (!r || r->elemento == Elemento::nessuno) continue;
    const std::vector<CampoRiga> campi = campi_della_riga(linea, r->campo_testo);
    const std::string posizione =
        campi.size() > 1 ? std::string(testo_di(linea, campi[1])) + " m" : std::string("? m");
    Simbolo s;
    s.riga = n;
    CampoRiga nome = campi.size() > 1 ? campi[1] : campi[0];
    switch (r->elemento) {
      case Elemento::stazione:
        s.tipo = TipoSimbolo::stazione;
        if (campi.size() > 17) nome = campi[17];
        s.nome = testo_di(linea, nome);
        s.dettaglio = "station, " + posizione;
        break;
      case Elemento::segnale:
        s.tipo = TipoSimbolo::segnale;
        s.nome = "signal at " + posizione;
        break;
      case Elemento::cartello:
        s.tipo = TipoSimbolo::cartello;
        if (campi.size() > 2) nome = campi[2];
        s.nome = testo_di(linea, nome);
        s.dettaglio = "indicator board, " + posizione;
        break;
      case Elemento::indicatori:
        s.tipo = TipoSimbolo::cartello;
        s.nome = "maximum-speed boards at " + posizione;
        break;
      case Elemento::nessuno:
        break;
    }
    if (s.nome.empty()) s.nome = testo_di(linea, campi[0]);
    s.colonna = static_cast<int>(nome.inizio) + 1;
    s.colonna_fine = static_cast<int>(nome.fine) + 1;
    simboli.push_back(std::move(s));
  }
  return simboli;
}

}  // namespace scenario
