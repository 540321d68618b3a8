// Text conversions for the tool's outputs: record texts are Windows-1252 on
// disk, while the terminal, JSON and SVG want UTF-8 and their own escapes.
#ifndef SCENARIO_TOOLS_TEXT_ENCODING_H_
#define SCENARIO_TOOLS_TEXT_ENCODING_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace scenario {

/// The Unicode code point of Windows-1252 byte `b`; the five bytes the code
/// page leaves undefined map to the C1 control of the same value.
char32_t da_cp1252(std::uint8_t b);

/// Decodes the UTF-8 sequence at `*pos` and moves past it; an invalid,
/// overlong or cut-off sequence yields its first byte as a Latin-1 character
/// and moves one byte.
char32_t decodifica_utf8(std::string_view s, std::size_t* pos);

/// Appends code point `c` to `out` in UTF-8.
void aggiungi_utf8(char32_t c, std::string* out);

/// A Windows-1252 text converted to UTF-8.
std::string utf8_da_cp1252(std::string_view testo);

/// A text that may be UTF-8 or Windows-1252, in UTF-8: valid UTF-8
/// sequences are kept, every other byte is taken as Windows-1252.
std::string utf8_da_misto(std::string_view testo);

/// A quoted JSON string for a UTF-8 text: quotes, backslashes and control
/// characters escaped, everything outside ASCII written as \u escapes. A
/// byte that does not start a valid UTF-8 sequence is taken as Latin-1, so
/// the result is valid JSON whatever the input.
std::string json_stringa(std::string_view utf8);

/// A UTF-8 text made safe as XML character data or attribute value: the
/// five markup characters escaped, control characters that XML forbids
/// dropped, invalid UTF-8 bytes taken as Latin-1.
std::string xml_testo(std::string_view utf8);

/// Shortest decimal text that reads back as exactly `v` ("nan", "inf" and
/// "-inf" for the values that have no number).
std::string testo_doppio(double v);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_TEXT_ENCODING_H_
