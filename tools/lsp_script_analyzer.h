// The analyser of the language server, built on the authors' tools: the
// problems are those of `scenario_tool check`, the fields those of the
// script outline, and what a field is and what the compiler stores from it
// come from the language reference that `scenario_tool explain` prints.
#ifndef SCENARIO_TOOLS_LSP_SCRIPT_ANALYZER_H_
#define SCENARIO_TOOLS_LSP_SCRIPT_ANALYZER_H_

#include "tools/lsp_analyzer.h"

namespace scenario {

/// Checks the pair for its problems; cuts a script into records the way
/// the reader does (a record whose fields run onto the next line
/// included) for hovers and the outline.
class AnalizzatoreScript : public Analizzatore {
 public:
  std::vector<Problema> problemi(std::string_view testo_linea, std::string_view testo_treno,
                                 const std::string& uri_linea,
                                 const std::string& uri_treno) override;
  std::optional<Descrizione> descrizione(std::string_view testo, TipoScript tipo, int riga,
                                         int colonna) override;
  Proposte proposte(std::string_view testo, TipoScript tipo, int riga, int colonna) override;
  std::vector<Simbolo> simboli(std::string_view testo, TipoScript tipo) override;
};

}  // namespace scenario

#endif  // SCENARIO_TOOLS_LSP_SCRIPT_ANALYZER_H_
