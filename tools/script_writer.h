// Lays out the records of a scenario as its two scripts, in the sections,
// order and spacing of the built-in scripts, so that an author can read and
// edit them.
#ifndef SCENARIO_TOOLS_SCRIPT_WRITER_H_
#define SCENARIO_TOOLS_SCRIPT_WRITER_H_

#include <string>
#include <vector>

#include "tools/decompiled_scenario.h"

namespace scenario {

/// The line script of `scenario`, every line ended by CR LF: the lines of
/// `intestazione` first (before "[generale]", where the reader ignores
/// everything; brackets in them become parentheses and line breaks blanks,
/// so that none can open the general section), then "[generale]", "[curve]",
/// "[pendenze]", "[montagne]", "[cartelli]", "[indicazioni]" and "[fine]".
std::string testo_script_linea(const ScenarioDecompilato& scenario,
                               const std::vector<std::string>& intestazione);

/// The train script of `scenario` in the same way: "[generale]",
/// "[aderenze]", "[vel_limite]", "[stazioni]", "[rallentamenti]",
/// "[segnali]", "[codici]" and "[fine]".
std::string testo_script_treno(const ScenarioDecompilato& scenario,
                               const std::vector<std::string>& intestazione);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_SCRIPT_WRITER_H_
