#include "tools/lsp_server.h"

#include <algorithm>
#include <exception>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>

#include "tools/lsp_framing.h"
#include "tools/lsp_uri.h"
#include "tools/text_encoding.h"

namespace scenario {

using nlohmann::json;

namespace {

/// JSON-RPC and protocol error codes.
namespace codice_rpc {
constexpr int invalid_request = -32600;
constexpr int method_not_found = -32601;
constexpr int invalid_params = -32602;
constexpr int internal_error = -32603;
constexpr int server_not_initialized = -32002;
}  // namespace codice_rpc

/// Protocol enumerations the server sends.
constexpr int kSincronizzazioneCompleta = 1;
constexpr int kGravitaErrore = 1;
constexpr int kGravitaAvviso = 2;
constexpr int kCompletamentoParolaChiave = 14;

/// The protocol's SymbolKind shown for each kind of place.
int tipo_simbolo(TipoSimbolo t) {
  switch (t) {
    case TipoSimbolo::stazione:
      return 3;  // Namespace
    case TipoSimbolo::segnale:
      return 24;  // Event
    case TipoSimbolo::cartello:
      return 15;  // String
  }
  return 13;  // Variable
}

/// The text as the editor can show it, whatever bytes it held.
std::string per_editore(std::string_view testo) {
  return utf8_da_misto(testo);
}

/// A whole number parameter, brought within 0 and 2^30.
int intero(const json& oggetto, const char* chiave) {
  const auto n = oggetto.at(chiave).get<std::int64_t>();
  return static_cast<int>(std::clamp<std::int64_t>(n, 0, std::int64_t{1} << 30));
}

/// The language of the script at `uri`; none for a file that is no script.
std::optional<TipoScript> tipo_di(const std::string& uri) {
  return riconosci_script(percorso_da_uri(uri)).tipo;
}

/// The range of bytes `colonna` to `colonna_fine` (0: the line's start and
/// end) of line `riga` (brought within the text).
json intervallo(const RigheTesto& righe, int riga, int colonna, int colonna_fine,
                Codifica codifica) {
  riga = std::clamp(riga, 1, righe.numero());
  const std::string_view linea = righe.riga(riga);
  auto carattere = [&](int c) {
    return carattere_da_byte(linea, static_cast<std::size_t>(c - 1), codifica);
  };
  const int inizio = colonna > 0 ? carattere(colonna) : 0;
  const int fine =
      colonna_fine > 0 ? carattere(colonna_fine) : carattere_da_byte(linea, linea.size(), codifica);
  return {{"start", {{"line", riga - 1}, {"character", inizio}}},
          {"end", {{"line", riga - 1}, {"character", std::max(inizio, fine)}}}};
}

/// The lines of the files a publication points into, each read once.
class TestiLetti {
 public:
  explicit TestiLetti(const Documenti& documenti) : documenti_(documenti) {}

  /// The lines of `uri`: the editor's text, the file's, or none.
  const RigheTesto& righe(const std::string& uri) {
    auto it = letti_.find(uri);
    if (it == letti_.end()) {
      it = letti_.emplace(uri, Letto{}).first;
      std::string motivo;
      if (!documenti_.testo(uri, &it->second.testo, &motivo)) it->second.testo.clear();
      it->second.righe.emplace(it->second.testo);
    }
    return *it->second.righe;
  }

 private:
  struct Letto {
    std::string testo;
    std::optional<RigheTesto> righe;  ///< views into `testo`
  };
  const Documenti& documenti_;
  std::map<std::string, Letto> letti_;
};

/// The JSON Diagnostic of a problem, its ranges found in `testi`.
json diagnostico(const Problema& p, TestiLetti& testi, Codifica codifica) {
  json d = {{"range", intervallo(testi.righe(p.uri), p.riga, p.colonna, p.colonna_fine, codifica)},
            {"severity", p.gravita == Gravita::errore ? kGravitaErrore : kGravitaAvviso},
            {"source", "scenario_tool"},
            {"message", per_editore(p.messaggio)}};
  // As `check` prints them: an error by its code's number, a warning by
  // its name (`explain` takes both).
  if (p.gravita == Gravita::errore && p.codice != 0) {
    d["code"] = p.codice;
  } else if (!p.nome.empty()) {
    d["code"] = per_editore(p.nome);
  }
  if (!p.note.empty()) {
    json note = json::array();
    for (const NotaProblema& n : p.note) {
      const json dove = intervallo(testi.righe(n.uri), n.riga, n.colonna, 0, codifica);
      note.push_back(
          {{"location", {{"uri", n.uri}, {"range", dove}}}, {"message", per_editore(n.messaggio)}});
    }
    d["relatedInformation"] = std::move(note);
  }
  return d;
}

}  // namespace

ServerLsp::ServerLsp(Analizzatore& analizzatore, FileSystem& fs, std::ostream& out,
                     std::ostream& log)
    : analizzatore_(analizzatore),
      documenti_(fs),
      verifiche_(documenti_, analizzatore),
      out_(out),
      log_(log) {}

void ServerLsp::ricevi(std::string_view corpo) {
  const json messaggio = json::parse(corpo, nullptr, false);
  if (messaggio.is_discarded()) {
    log_ << "scenario_tool lsp: a message body is not valid JSON; skipped\n";
    return;
  }
  if (!messaggio.is_object()) {
    log_ << "scenario_tool lsp: a message is not a JSON object; skipped\n";
    return;
  }
  const auto id = messaggio.find("id");
  const bool con_id = id != messaggio.end();
  if (con_id && !id->is_number_integer() && !id->is_string()) {
    log_ << "scenario_tool lsp: a message id is neither a number nor a string; skipped\n";
    return;
  }
  const auto metodo = messaggio.find("method");
  if (metodo == messaggio.end() || !metodo->is_string()) {
    // A response: the server sends no requests, so none is awaited.
    if (con_id && (messaggio.contains("result") || messaggio.contains("error"))) return;
    log_ << "scenario_tool lsp: a message has no method; skipped\n";
    if (con_id) errore(*id, codice_rpc::invalid_request, "the message has no method");
    return;
  }
  static const json kNessuno = json::object();
  const auto p = messaggio.find("params");
  const json& parametri = p == messaggio.end() ? kNessuno : *p;
  const std::string nome = metodo->get<std::string>();
  try {
    if (con_id) {
      richiesta(*id, nome, parametri);
    } else {
      notifica(nome, parametri);
    }
  } catch (const json::exception& e) {
    log_ << "scenario_tool lsp: " << nome << ": parameters not understood: " << e.what() << "\n";
    if (con_id) errore(*id, codice_rpc::invalid_params, e.what());
  } catch (const std::exception& e) {
    log_ << "scenario_tool lsp: " << nome << ": " << e.what() << "\n";
    if (con_id) errore(*id, codice_rpc::internal_error, e.what());
  }
}

void ServerLsp::richiesta(const json& id, const std::string& metodo, const json& parametri) {
  if (stato_ == Stato::iniziale && metodo != "initialize") {
    errore(id, codice_rpc::server_not_initialized, "initialize first");
    return;
  }
  if (stato_ == Stato::chiuso) {
    errore(id, codice_rpc::invalid_request, "the server is shutting down");
    return;
  }
  if (metodo == "initialize") {
    if (stato_ != Stato::iniziale) {
      errore(id, codice_rpc::invalid_request, "initialize was already received");
      return;
    }
    rispondi(id, inizializza(parametri));
    stato_ = Stato::attivo;
  } else if (metodo == "shutdown") {
    stato_ = Stato::chiuso;
    rispondi(id, nullptr);
  } else if (metodo == "textDocument/hover") {
    rispondi(id, hover(parametri));
  } else if (metodo == "textDocument/completion") {
    rispondi(id, completamento(parametri));
  } else if (metodo == "textDocument/documentSymbol") {
    rispondi(id, simboli(parametri));
  } else {
    errore(id, codice_rpc::method_not_found, "unknown method " + metodo);
  }
}

void ServerLsp::notifica(const std::string& metodo, const json& parametri) {
  if (metodo == "exit") {
    finito_ = true;
    return;
  }
  if (stato_ != Stato::attivo) return;
  if (metodo == "textDocument/didOpen") {
    const json& documento = parametri.at("textDocument");
    const std::string uri = documento.at("uri").get<std::string>();
    documenti_.imposta(uri, documento.at("text").get<std::string>());
    pubblica(verifiche_.dopo_modifica(uri));
  } else if (metodo == "textDocument/didChange") {
    const std::string uri = parametri.at("textDocument").at("uri").get<std::string>();
    const json& modifiche = parametri.at("contentChanges");
    if (!documenti_.aperto(uri)) {
      log_ << "scenario_tool lsp: change of " << uri << ", which is not open; ignored\n";
      return;
    }
    // Whole texts only, as the server asked: the last one is the document.
    if (!modifiche.is_array() || modifiche.empty()) return;
    if (modifiche.back().contains("range")) {
      log_ << "scenario_tool lsp: a change of " << uri
           << " is not the whole text, which the server asked for; ignored\n";
      return;
    }
    documenti_.imposta(uri, modifiche.back().at("text").get<std::string>());
    pubblica(verifiche_.dopo_modifica(uri));
  } else if (metodo == "textDocument/didClose") {
    const std::string uri = parametri.at("textDocument").at("uri").get<std::string>();
    documenti_.chiudi(uri);
    pubblica(verifiche_.dopo_chiusura(uri));
  }
}

json ServerLsp::inizializza(const json& parametri) {
  // The character unit: UTF-8 when the editor offers it, else the
  // protocol's default UTF-16.
  const json* codifiche = nullptr;
  if (parametri.is_object()) {
    const json::json_pointer dove("/capabilities/general/positionEncodings");
    if (parametri.contains(dove)) codifiche = &parametri.at(dove);
  }
  codifica_ = Codifica::utf16;
  if (codifiche && codifiche->is_array() &&
      std::find(codifiche->begin(), codifiche->end(), "utf-8") != codifiche->end()) {
    codifica_ = Codifica::utf8;
  }
  return {
      {"capabilities",
       {
           {"positionEncoding", codifica_ == Codifica::utf8 ? "utf-8" : "utf-16"},
           {"textDocumentSync", {{"openClose", true}, {"change", kSincronizzazioneCompleta}}},
           {"hoverProvider", true},
           {"completionProvider", {{"resolveProvider", false}}},
           {"documentSymbolProvider", true},
       }},
      {"serverInfo", {{"name", "scenario_tool lsp"}}},
  };
}

const std::string* ServerLsp::punto(const json& parametri, std::string* uri, int* riga,
                                    int* colonna) const {
  *uri = parametri.at("textDocument").at("uri").get<std::string>();
  const std::string* testo = documenti_.aperto(*uri);
  if (!testo) return nullptr;
  const json& posizione = parametri.at("position");
  *riga = intero(posizione, "line") + 1;
  const std::string_view linea = RigheTesto(*testo).riga(*riga);
  *colonna =
      static_cast<int>(byte_da_carattere(linea, intero(posizione, "character"), codifica_)) + 1;
  return testo;
}

json ServerLsp::hover(const json& parametri) {
  std::string uri;
  int riga = 0, colonna = 0;
  const std::string* testo = punto(parametri, &uri, &riga, &colonna);
  if (!testo) return nullptr;
  const std::optional<TipoScript> tipo = tipo_di(uri);
  if (!tipo) return nullptr;
  const std::optional<Descrizione> d = analizzatore_.descrizione(*testo, *tipo, riga, colonna);
  if (!d || d->testo.empty()) return nullptr;
  json risultato = {{"contents", {{"kind", "markdown"}, {"value", per_editore(d->testo)}}}};
  if (d->colonna > 0) {
    risultato["range"] =
        intervallo(RigheTesto(*testo), riga, d->colonna, d->colonna_fine, codifica_);
  }
  return risultato;
}

json ServerLsp::completamento(const json& parametri) {
  std::string uri;
  int riga = 0, colonna = 0;
  const std::string* testo = punto(parametri, &uri, &riga, &colonna);
  const std::optional<TipoScript> tipo = tipo_di(uri);
  if (!testo || !tipo) return nullptr;
  const Proposte p = analizzatore_.proposte(*testo, *tipo, riga, colonna);
  const json sostituito =
      intervallo(RigheTesto(*testo), riga, p.colonna, p.colonna_fine, codifica_);
  json voci = json::array();
  for (const Proposta& v : p.voci) {
    json voce = {{"label", per_editore(v.etichetta)},
                 {"kind", kCompletamentoParolaChiave},
                 {"textEdit", {{"range", sostituito}, {"newText", per_editore(v.etichetta)}}}};
    if (!v.dettaglio.empty()) voce["detail"] = per_editore(v.dettaglio);
    if (!v.documentazione.empty()) {
      voce["documentation"] = {{"kind", "markdown"}, {"value", per_editore(v.documentazione)}};
    }
    voci.push_back(std::move(voce));
  }
  return {{"isIncomplete", false}, {"items", std::move(voci)}};
}

json ServerLsp::simboli(const json& parametri) {
  const std::string uri = parametri.at("textDocument").at("uri").get<std::string>();
  const std::string* testo = documenti_.aperto(uri);
  const std::optional<TipoScript> tipo = tipo_di(uri);
  if (!testo || !tipo) return nullptr;
  const RigheTesto righe(*testo);
  json simboli = json::array();
  for (const Simbolo& s : analizzatore_.simboli(*testo, *tipo)) {
    json simbolo = {
        {"name", s.nome.empty() ? "?" : per_editore(s.nome)},
        {"kind", tipo_simbolo(s.tipo)},
        {"range", intervallo(righe, s.riga, 0, 0, codifica_)},
        {"selectionRange", intervallo(righe, s.riga, s.colonna, s.colonna_fine, codifica_)}};
    if (!s.dettaglio.empty()) simbolo["detail"] = per_editore(s.dettaglio);
    simboli.push_back(std::move(simbolo));
  }
  return simboli;
}

void ServerLsp::pubblica(const std::vector<Pubblicazione>& pubblicazioni) {
  TestiLetti testi(documenti_);
  for (const Pubblicazione& p : pubblicazioni) {
    json diagnostici = json::array();
    for (const Problema& problema : p.problemi)
      diagnostici.push_back(diagnostico(problema, testi, codifica_));
    invia({{"jsonrpc", "2.0"},
           {"method", "textDocument/publishDiagnostics"},
           {"params", {{"uri", p.uri}, {"diagnostics", std::move(diagnostici)}}}});
  }
}

void ServerLsp::rispondi(const json& id, json risultato) {
  invia({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(risultato)}});
}

void ServerLsp::errore(const json& id, int codice, const std::string& messaggio) {
  invia({{"jsonrpc", "2.0"},
         {"id", id},
         {"error", {{"code", codice}, {"message", per_editore(messaggio)}}}});
}

void ServerLsp::invia(const json& messaggio) {
  out_ << Frame(messaggio.dump(-1, ' ', false, json::error_handler_t::replace)) << std::flush;
}

}  // namespace scenario
