#include "tools/lsp_script_analyzer.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <string>

#include "scripts/record_reference.h"
#include "scripts/script_outline.h"
#include "tools/check.h"
#include "tools/check_names.h"
#include "tools/lsp_positions.h"

namespace scenario {

namespace {

/// The route and train the check compiles the two texts as: any names
/// serve, the diagnostics name the scripts by their URIs.
constexpr const char* kPercorso = "percorso";
constexpr const char* kTreno = "treno";

/// How many record kinds there are, in the reference's order.
constexpr auto kNumeroTipi = static_cast<std::size_t>(TipoRecord::stazione) + 1;

/// True when record kind `t` is written in scripts of kind `tipo`.
bool del_linguaggio(TipoRecord t, TipoScript tipo) {
  return (riferimento(t).sezione == Sezione::treno) == (tipo == TipoScript::treno);
}

/// True when field `c` holds byte column `colonna` of line `riga`; the
/// column right after it counts, where the cursor stands after typing it.
bool sotto(const CampoScript& c, int riga, int colonna) {
  return c.riga == riga && c.colonna <= colonna &&
         colonna <= c.colonna + static_cast<int>(c.testo.size());
}

/// The value fields one record kind reads within a keyword's record: a
/// keyword that passes several tests reads each kind's fields in turn.
struct Parte {
  TipoRecord tipo;
  std::size_t primo = 0;  ///< index in `RecordScript::valori` of its first field
};

std::vector<Parte> parti(const RecordScript& r) {
  std::vector<Parte> p;
  std::size_t primo = 0;
  for (TipoRecord t : r.tipi) {
    p.push_back({t, primo});
    primo += campi_di(t).size();
  }
  return p;
}

/// The numbers of the fields of `parte` as read, up to the first faulty or
/// missing one (a text field counts 0).
std::vector<std::int64_t> numeri(const RecordScript& r, const Parte& parte) {
  std::size_t fine = std::min(r.valori.size(), parte.primo + campi_di(parte.tipo).size());
  if (r.difetto != Difetto::nessuno) fine = std::min(fine, r.campo_difettoso);
  std::vector<std::int64_t> v;
  for (std::size_t i = parte.primo; i < fine; ++i) v.push_back(r.valori[i].numero);
  return v;
}

/// "Record `stazione` (station)".
std::string nome_record(const RecordRiferimento& r) {
  return "Record `" + std::string(r.nome) + "` (" + std::string(r.titolo) + ")";
}

/// The fields' names of a record, in order: "posizione, tipo, ...".
std::string elenco_campi(const RecordRiferimento& r) {
  std::string s;
  for (const CampoRecord& c : r.campi) {
    if (!s.empty()) s += ", ";
    s += c.nome;
  }
  return s;
}

/// What value field `k` of `parte` is, holding `campo_script`.
std::string testo_campo(const RecordScript& r, const Parte& parte, std::size_t k,
                        const CampoScript& campo_script) {
  const RecordRiferimento& rif = riferimento(parte.tipo);
  std::string s = nome_record(rif) + ", field " + std::to_string(k + 1) + " of " +
                  std::to_string(rif.campi.size()) + ": `" + campo_script.testo + "`";
  if (k >= rif.campi.size()) return s;
  const CampoRecord& campo = rif.campi[k];
  s += "\n\n**`" + std::string(campo.nome) + "`**";
  const std::string_view unita = nome_unita(campo.unita);
  if (!unita.empty()) s += " (" + std::string(unita) + ")";
  s += ": " + std::string(campo.titolo) + "\n\n";
  s += "- Range: " + testo_intervallo(campo) + "\n";
  s += "- Width: " + std::string(nome_larghezza(campo.larghezza)) + "\n";
  const std::string memorizzato = testo_memorizzato(rif, k, numeri(r, parte));
  if (memorizzato.empty()) {
    s += "- Stored as: " + testo_regola(rif, campo);
  } else {
    s += "- Stored: " + memorizzato;
  }
  if (!campo.effetto.empty()) s += "\n\n" + std::string(campo.effetto);
  return s;
}

/// What the keyword of a record is: each record kind it stands for.
std::string testo_parola(const RecordScript& r) {
  std::string s;
  for (TipoRecord t : r.tipi) {
    const RecordRiferimento& rif = riferimento(t);
    if (!s.empty()) s += "\n\n---\n\n";
    s += nome_record(rif) + ", " + std::string(nome_sezione(rif.sezione)) + ": " +
         std::to_string(rif.campi.size()) + " value fields\n\n`" + elenco_campi(rif) + "`\n\n" +
         std::string(rif.effetto);
  }
  return s;
}

/// The documentation of a record for completion: what it is, what it does
/// and an example line.
std::string documentazione(const RecordRiferimento& r) {
  return "**" + std::string(r.titolo) + "** (" + std::string(nome_sezione(r.sezione)) + ")\n\n" +
         std::string(r.effetto) + "\n\nExample:\n```\n" + std::string(r.esempio) + "\n```";
}

/// The value field of `parte` named `nome` in the reference, or null when
/// the record has no such field or it was not read.
const CampoScript* campo_di(const RecordScript& r, const Parte& parte, std::string_view nome) {
  const RecordRiferimento& rif = riferimento(parte.tipo);
  const CampoRecord* c = campo_per_nome(rif, nome);
  if (!c) return nullptr;
  const std::size_t i = parte.primo + static_cast<std::size_t>(c - rif.campi.data());
  if (i >= r.valori.size()) return nullptr;
  if (r.difetto != Difetto::nessuno && i >= r.campo_difettoso) return nullptr;
  return &r.valori[i];
}

/// The place one record kind puts on the route, if it is one the outline
/// lists.
std::optional<Simbolo> simbolo(const RecordScript& r, const Parte& parte) {
  const CampoScript* posizione = campo_di(r, parte, "posizione");
  const std::string metri = (posizione ? std::to_string(posizione->numero) : "?") + " m";
  const CampoScript* nome = nullptr;
  Simbolo s;
  switch (parte.tipo) {
    case TipoRecord::stazione:
      nome = campo_di(r, parte, "nome");
      s.tipo = TipoSimbolo::stazione;
      s.nome = nome ? nome->testo : "station at " + metri;
      s.dettaglio = "station, " + metri;
      break;
    case TipoRecord::cartello:
      nome = campo_di(r, parte, "testo");
      s.tipo = TipoSimbolo::cartello;
      s.nome = nome ? nome->testo : "indicator board at " + metri;
      s.dettaglio = "indicator board, " + metri;
      break;
    case TipoRecord::segnale:
      s.tipo = TipoSimbolo::segnale;
      s.nome = "signal at " + metri;
      break;
    case TipoRecord::indicatori_v_max:
      s.tipo = TipoSimbolo::cartello;
      s.nome = "maximum-speed boards at " + metri;
      break;
    default:
      return std::nullopt;
  }
  // The span that names it: the name, else the position, else the keyword,
  // whichever stands on the keyword's line.
  const CampoScript* nomina = &r.chiave;
  for (const CampoScript* c : {nome, posizione}) {
    if (c && c->riga == r.chiave.riga) {
      nomina = c;
      break;
    }
  }
  s.riga = r.chiave.riga;
  s.colonna = nomina->colonna;
  s.colonna_fine = nomina->colonna + static_cast<int>(nomina->testo.size());
  return s;
}

bool spazio(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::vector<Problema> AnalizzatoreScript::problemi(std::string_view testo_linea,
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

std::optional<Descrizione> AnalizzatoreScript::descrizione(std::string_view testo, TipoScript tipo,
                                                           int riga, int colonna) {
  const ScriptOutline schema = MakeOutline(testo, tipo);
  for (const RecordScript& r : schema.record) {
    if (r.commento || r.tipi.empty() || riga < r.chiave.riga || riga > r.ultima_riga) continue;
    auto descritto = [](const CampoScript& c, std::string t) {
      return Descrizione{std::move(t), c.colonna, c.colonna + static_cast<int>(c.testo.size())};
    };
    if (sotto(r.chiave, riga, colonna)) return descritto(r.chiave, testo_parola(r));
    for (const Parte& parte : parti(r)) {
      const std::size_t n = campi_di(parte.tipo).size();
      for (std::size_t k = 0; k < n && parte.primo + k < r.valori.size(); ++k) {
        const CampoScript& c = r.valori[parte.primo + k];
        if (sotto(c, riga, colonna)) return descritto(c, testo_campo(r, parte, k, c));
      }
    }
  }
  return std::nullopt;
}

Proposte AnalizzatoreScript::proposte(std::string_view testo, TipoScript tipo, int riga,
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
  for (std::size_t i = 0; i < kNumeroTipi; ++i) {
    const auto t = static_cast<TipoRecord>(i);
    if (!del_linguaggio(t, tipo)) continue;
    const RecordRiferimento& r = riferimento(t);
    p.voci.push_back({parola_tipica(t), elenco_campi(r), documentazione(r)});
  }
  return p;
}

std::vector<Simbolo> AnalizzatoreScript::simboli(std::string_view testo, TipoScript tipo) {
  std::vector<Simbolo> simboli;
  for (const RecordScript& r : MakeOutline(testo, tipo).record) {
    if (r.commento) continue;
    for (const Parte& parte : parti(r)) {
      if (std::optional<Simbolo> s = simbolo(r, parte)) simboli.push_back(std::move(*s));
    }
  }
  return simboli;
}

}  // namespace scenario
