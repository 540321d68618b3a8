// Text conversions for the tool's outputs: record texts are Windows-1252 on
// disk, while the terminal, JSON and SVG want UTF-8.
#ifndef SCENARIO_TOOLS_TEXT_ENCODING_H_
#define SCENARIO_TOOLS_TEXT_ENCODING_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace scenario {

/// The Unicode code point of Windows-1252 byte `b`; the five bytes the code
/// page leaves undefined map to the C1 control of the same value.
char32_t da_cp1252(std::uint8_t b);

/// Appends code point `c` to `out` in UTF-8.
void aggiungi_utf8(char32_t c, std::string* out);

/// A Windows-1252 text converted to UTF-8.
std::string utf8_da_cp1252(std::string_view testo);

/// The code point of the UTF-8 sequence at `*pos`, advancing `*pos` past
/// it. A byte that does not start a valid sequence (a lone continuation, a
/// cut-off, overlong or surrogate form) is taken as a Latin-1 character.
char32_t prossimo_carattere(std::string_view testo, std::size_t* pos);

/// A text that may be UTF-8 or Windows-1252, in UTF-8: valid UTF-8
/// sequences are kept, every other byte is taken as Windows-1252.
std::string utf8_da_misto(std::string_view testo);

/// Any text (a path, a name from the command line) as valid UTF-8: valid
/// sequences kept, every other byte taken as a Latin-1 character.
std::string utf8_valido(std::string_view testo);

/// Number of characters of a UTF-8 text, as `prossimo_carattere` reads it.
std::size_t numero_caratteri(std::string_view utf8);

/// Shortest decimal text that reads back as exactly `v` ("nan", "inf" and
/// "-inf" for the values that have no number).
std::string testo_doppio(double v);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_TEXT_ENCODING_H_
