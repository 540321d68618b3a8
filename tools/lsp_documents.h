// The scripts the language server works on: the editor's texts of the
// documents it has open, the disk for the others, and which scripts go
// together by their names.
#ifndef SCENARIO_TOOLS_LSP_DOCUMENTS_H_
#define SCENARIO_TOOLS_LSP_DOCUMENTS_H_

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "tools/lsp_analyzer.h"

namespace scenario {

/// What a file's path says about the script in it.
struct NomeScript {
  std::optional<TipoScript> tipo;  ///< none: not a script
  std::string cartella;            ///< the folder, without a trailing "/" ("" for the root)
  std::string nome_percorso;       ///< the route
  std::string numero_treno;        ///< the train, for a train script
};

/// "DIR/ROUTE_linea.txt" is the line script of ROUTE; "DIR/ROUTE_TRAIN-.txt"
/// a train script of ROUTE (TRAIN after the last "_"); anything else, or an
/// empty route or train, is no script.
NomeScript riconosci_script(const std::string& percorso);

/// The texts of the documents the editor has open, by URI, with the files
/// on disk behind them. Reads the disk, never writes it.
class Documenti {
 public:
  explicit Documenti(FileSystem& fs) : fs_(fs) {}

  /// Records the editor's text of a document it opened or changed.
  void imposta(const std::string& uri, std::string testo);
  /// Forgets a document the editor closed.
  void chiudi(const std::string& uri);
  /// The editor's text, or null when the document is not open.
  const std::string* aperto(const std::string& uri) const;
  /// URIs of the open documents.
  std::vector<std::string> aperti() const;

  /// The text of `uri`: the editor's when open, else the file's. False
  /// with `*err` set (the file and the system's reason) when neither.
  bool testo(const std::string& uri, std::string* out, std::string* err) const;
  /// The URI under which the file at `percorso` is known: the editor's
  /// when it is open, else its own "file" URI.
  std::string uri_di(const std::string& percorso) const;
  /// Names of the files in `cartella`, on disk or open in the editor,
  /// sorted, without repeats.
  std::vector<std::string> file_in(const std::string& cartella) const;

 private:
  FileSystem& fs_;
  std::map<std::string, std::string> testi_;         ///< open documents by URI
  std::map<std::string, std::string> per_percorso_;  ///< URIs of open files by path
};

}  // namespace scenario

#endif  // SCENARIO_TOOLS_LSP_DOCUMENTS_H_
