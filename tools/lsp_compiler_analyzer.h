// An analyser built on the compiler and the keyword tables: the problems
// are the codes a compile of the two texts records, each on the whole line
// of its record; the rest comes from reading each line on its own.
#ifndef SCENARIO_TOOLS_LSP_COMPILER_ANALYZER_H_
#define SCENARIO_TOOLS_LSP_COMPILER_ANALYZER_H_

#include "tools/lsp_analyzer.h"

namespace scenario {

/// Compiles the pair in memory for its problems; reads a line as one
/// record for the rest: its keyword field (up to the first comma) names the
/// record by the keyword tables of the script's language, the value fields
/// follow the scripts' lexical rules within the line. A record whose fields
/// run over several lines is not followed onto the next.
class AnalizzatoreCompilatore : public Analizzatore {
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

#endif  // SCENARIO_TOOLS_LSP_COMPILER_ANALYZER_H_
