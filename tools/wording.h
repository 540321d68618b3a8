// How the tool words things for people: quoted texts, counts with their
// noun, times of day.
#ifndef SCENARIO_TOOLS_WORDING_H_
#define SCENARIO_TOOLS_WORDING_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace scenario {

/// "`testo`": a text quoted in a message.
std::string citato(std::string_view testo);

/// "1 station", "3 stations": `n` and the noun in the right number.
std::string plurale(std::int64_t n, const char* uno, const char* molti);

/// A time of day given in seconds after midnight, as "HH:MM:SS"; "" for 0
/// and below, which stand for no time.
std::string orario(std::int32_t secondi);

/// Most characters of a record text that a listing or a drawing shows.
inline constexpr std::size_t kCaratteriMostrati = 120;

/// A Windows-1252 record text as UTF-8 for a listing or a drawing: whole up
/// to `kCaratteriMostrati` characters, longer ones cut there and marked
/// with an ellipsis and their length, "ABC... (65535 characters)", so that
/// what shows them stays in proportion to the route, not to its texts.
std::string testo_mostrato(const std::string& cp1252);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_WORDING_H_
