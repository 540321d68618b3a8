// Which scripts are checked together when one changes, and which files'
// problems are then shown anew.
#ifndef SCENARIO_TOOLS_LSP_CHECKS_H_
#define SCENARIO_TOOLS_LSP_CHECKS_H_

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tools/lsp_analyzer.h"
#include "tools/lsp_documents.h"

namespace scenario {

/// Every problem to show for one file, replacing what was shown before
/// (none: the file's problems are cleared).
struct Pubblicazione {
  std::string uri;
  std::vector<Problema> problemi;
};

/// Checks scripts as the editor opens, changes and closes them.
///
/// The scripts of one route in one folder form a group: the line script
/// "ROUTE_linea.txt" and every train script "ROUTE_TRAIN-.txt", on disk or
/// open in the editor. A train script is checked with the line script; the
/// line script with every train script of its route (alone when there is
/// none), and its problems are those of all these checks together. The
/// first change in a group checks the whole group; later a change of a
/// train script checks that pair again, a change of the line script the
/// whole group. Every file of a group that had problems shown and has
/// dropped out of it (deleted, closed before it was saved) is cleared.
class Verifiche {
 public:
  Verifiche(const Documenti& documenti, Analizzatore& analizzatore)
      : documenti_(documenti), analizzatore_(analizzatore) {}

  /// What to show after the document `uri` was opened or changed.
  std::vector<Pubblicazione> dopo_modifica(const std::string& uri);
  /// What to show after the document `uri` was closed (and forgotten by
  /// the documents): its group checked again from the texts left when some
  /// of it is still open, else every file of the group cleared.
  std::vector<Pubblicazione> dopo_chiusura(const std::string& uri);

 private:
  /// One route in one folder: (folder, route).
  using Chiave = std::pair<std::string, std::string>;
  struct Gruppo {
    /// The line script's problems by the train script it was checked with
    /// ("" for the check of the line script alone).
    std::map<std::string, std::vector<Problema>> problemi_linea;
    /// Files whose problems were shown, to clear them when they leave.
    std::set<std::string> mostrati;
  };

  /// Checks every script of the group.
  std::vector<Pubblicazione> verifica_gruppo(const Chiave& chiave);
  /// Checks one train script with the line script.
  std::vector<Pubblicazione> verifica_coppia(const Chiave& chiave, const std::string& uri_treno);
  /// Checks the pair, or the line script alone when `uri_treno` is empty;
  /// adds the train script's problems to `*uscita` (or why it cannot be
  /// read) and keeps the line script's in `gruppo`.
  void verifica(Gruppo& gruppo, const std::string& uri_linea, const std::string& testo_linea,
                const std::string& uri_treno, std::vector<Pubblicazione>* uscita);
  /// The line script's problems, gathered from every check it was part of.
  Pubblicazione problemi_linea(const Gruppo& gruppo, const std::string& uri_linea) const;
  /// The URI of the line script of a group.
  std::string uri_linea(const Chiave& chiave) const;
  /// The URIs of the train scripts of a group, on disk or open.
  std::vector<std::string> uri_treni(const Chiave& chiave) const;
  /// Notes the files `*uscita` shows; after a check of the whole group
  /// (`completo`) also clears those shown before and left out now.
  void chiudi_turno(Gruppo& gruppo, bool completo, std::vector<Pubblicazione>* uscita) const;

  const Documenti& documenti_;
  Analizzatore& analizzatore_;
  std::map<Chiave, Gruppo> gruppi_;
};

}  // namespace scenario

#endif  // SCENARIO_TOOLS_LSP_CHECKS_H_
