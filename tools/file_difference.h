// Where the binary files of a scenario and those of a recompile first
// differ, told as the record and field the byte belongs to.
#ifndef SCENARIO_TOOLS_FILE_DIFFERENCE_H_
#define SCENARIO_TOOLS_FILE_DIFFERENCE_H_

#include <cstddef>
#include <optional>
#include <string>

#include "output/scenario_files.h"
#include "tools/memory_compile.h"

namespace scenario {

/// The first byte where two versions of a scenario differ.
struct Differenza {
  TipoFile file = TipoFile::sconosciuto;  ///< which of the three files
  std::size_t offset = 0;                 ///< first differing byte of that file
  /// What the byte belongs to, with both values: "cell 1877 (93800 m),
  /// field dato1: 40 in the file, 0 recompiled".
  std::string dove;
};

/// The first difference between `originali` and `ricompilati`, looking at
/// the line file, then the parameter file, then the cell file; nullopt when
/// all three are identical (a line file missing on one side only differs at
/// byte 0).
std::optional<Differenza> prima_differenza(const BytesScenario& originali,
                                           const BytesScenario& ricompilati);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_FILE_DIFFERENCE_H_
