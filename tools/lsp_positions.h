// Positions in a script as the editor counts them (lines from 0, characters
// in UTF-16 units or bytes) and as the analysis counts them (lines and
// byte columns from 1).
#ifndef SCENARIO_TOOLS_LSP_POSITIONS_H_
#define SCENARIO_TOOLS_LSP_POSITIONS_H_

#include <cstddef>
#include <string_view>
#include <vector>

namespace scenario {

/// The unit in which the editor counts characters within a line.
enum class Codifica { utf16, utf8 };

/// The lines of a text. A line ends at CR LF, a lone LF or a lone CR, as
/// the scripts' own lines do; the text after the last line end is a line
/// too, even when empty.
class RigheTesto {
 public:
  explicit RigheTesto(std::string_view testo);

  /// Number of lines (at least 1).
  int numero() const { return static_cast<int>(inizi_.size()); }
  /// Line `riga` (from 1) without its line end; empty outside the text.
  std::string_view riga(int riga) const;

 private:
  std::string_view testo_;
  std::vector<std::size_t> inizi_;  ///< first byte of each line
  std::vector<std::size_t> fini_;   ///< byte after each line's last, before its line end
};

/// Characters of `riga` before byte `byte` (clamped to the line), in the
/// editor's unit. Bytes that are not valid UTF-8 count one character each,
/// as they are when the text is read as Windows-1252.
int carattere_da_byte(std::string_view riga, std::size_t byte, Codifica codifica);

/// Byte of `riga` where character `carattere` (editor's unit) starts;
/// the line's length past its end, 0 for a negative character.
std::size_t byte_da_carattere(std::string_view riga, long carattere, Codifica codifica);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_LSP_POSITIONS_H_
