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
#include "tools/lsp_positions.h"

namespace scenario {

namespace {

/// The in-memory folder of the compile, and the names the two texts get
/// there: any names serve, the compile only needs them to find the files.
constexpr const char* kCartella = "/analisi";
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

/// The message of a recorded code.
std::string messaggio_di(const Diagnosi& d) {
  std::string m = significato_codice(d.codice);
  if (d.con_posizione) m += " (position " + std::to_string(d.posizione) + " m)";
  return m;
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
  MemoryFileSystem fs;
  fs.files()[percorso_in(kCartella, nome_script_linea(kPercorso))] = testo_linea;
  fs.files()[percorso_in(kCartella, nome_script_treno(kPercorso, kTreno))] = testo_treno;
  StatoCompilazione stato;
  stato.nome_percorso = kPercorso;
  stato.numero_treno = kTreno;
  const RisultatoCompilazione risultato =
      memorizza_percorso(stato, true, fs, {kCartella, kCartella});

  // The codes without a record of their own go to the train script, whose
  // signals and slowdowns the post-pass places, or to the line script when
  // it is checked alone.
  const std::string& altrove = uri_treno.empty() ? uri_linea : uri_treno;
  std::vector<Problema> problemi;
  for (const Diagnosi& d : stato.diagnosi) {
    Problema p;
    p.codice = d.codice;
    p.messaggio = messaggio_di(d);
    p.riga = std::max(d.riga, 1);
    switch (d.sorgente) {
      case Sorgente::script_linea:
        p.uri = uri_linea;
        break;
      case Sorgente::script_treno:
        p.uri = uri_treno;
        break;
      case Sorgente::post_pass:
      case Sorgente::nessuna:
        p.uri = altrove;
        p.riga = 1;
        break;
    }
    if (!p.uri.empty()) problemi.push_back(std::move(p));
  }
  if (const std::int32_t fatale = codice_fatale(risultato, stato);
      fatale != 0 && risultato.esito != Esito::senza_celle) {
    Problema p;
    p.uri = altrove;
    p.codice = fatale;
    p.messaggio = significato_codice(fatale);
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
