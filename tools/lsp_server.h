// The language server: JSON-RPC messages in, responses and published
// problems out, the protocol's lifecycle kept.
#ifndef SCENARIO_TOOLS_LSP_SERVER_H_
#define SCENARIO_TOOLS_LSP_SERVER_H_

#include <nlohmann/json_fwd.hpp>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "tools/lsp_analyzer.h"
#include "tools/lsp_checks.h"
#include "tools/lsp_documents.h"
#include "tools/lsp_positions.h"

namespace scenario {

/// Handles one message body at a time and writes whole framed messages to
/// `out`, flushed; logs what it drops to `log`.
///
/// Lifecycle: before `initialize` every request but it is answered with
/// ServerNotInitialized and every notification but `exit` is dropped;
/// after `shutdown` every request is answered with InvalidRequest. `exit`
/// ends the session, with status 0 after a `shutdown` and 1 without.
/// Unknown requests get MethodNotFound, unknown notifications are ignored.
/// A body that is not JSON, not an object or not a valid request is logged
/// and skipped (answered with InvalidRequest when it has a usable id);
/// parameters of the wrong shape get InvalidParams. No content ends the
/// session.
///
/// Documents are synchronised whole; the server answers hover, completion
/// and document symbols from the analyser, and publishes the problems of
/// every file a change touches (see `Verifiche`).
class ServerLsp {
 public:
  ServerLsp(Analizzatore& analizzatore, FileSystem& fs, std::ostream& out, std::ostream& log);

  /// Handles one message body.
  void ricevi(std::string_view corpo);
  /// True once `exit` has arrived.
  bool finito() const { return finito_; }
  /// True once `shutdown` has been answered.
  bool chiuso() const { return stato_ == Stato::chiuso; }
  /// The exit status the protocol asks for: 0 after `shutdown`, else 1.
  int stato_uscita() const { return chiuso() ? 0 : 1; }

 private:
  enum class Stato { iniziale, attivo, chiuso };

  void richiesta(const nlohmann::json& id, const std::string& metodo,
                 const nlohmann::json& parametri);
  void notifica(const std::string& metodo, const nlohmann::json& parametri);

  nlohmann::json inizializza(const nlohmann::json& parametri);
  nlohmann::json hover(const nlohmann::json& parametri);
  nlohmann::json completamento(const nlohmann::json& parametri);
  nlohmann::json simboli(const nlohmann::json& parametri);
  void pubblica(const std::vector<Pubblicazione>& pubblicazioni);

  /// The open document of a request and where in it the request points:
  /// line from 1, byte column from 1. Null when the document is not open.
  const std::string* punto(const nlohmann::json& parametri, std::string* uri, int* riga,
                           int* colonna) const;

  void rispondi(const nlohmann::json& id, nlohmann::json risultato);
  void errore(const nlohmann::json& id, int codice, const std::string& messaggio);
  void invia(const nlohmann::json& messaggio);

  Analizzatore& analizzatore_;
  Documenti documenti_;
  Verifiche verifiche_;
  std::ostream& out_;
  std::ostream& log_;
  Stato stato_ = Stato::iniziale;
  bool finito_ = false;
  Codifica codifica_ = Codifica::utf16;
};

}  // namespace scenario

#endif  // SCENARIO_TOOLS_LSP_SERVER_H_
