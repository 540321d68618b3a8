// How the tool words numbers for people: counts with their noun, times of
// day.
#ifndef SCENARIO_TOOLS_WORDING_H_
#define SCENARIO_TOOLS_WORDING_H_

#include <cstdint>
#include <string>

namespace scenario {

/// "1 station", "3 stations": `n` and the noun in the right number.
std::string plurale(std::int64_t n, const char* uno, const char* molti);

/// A time of day given in seconds after midnight, as "HH:MM:SS"; "" for 0
/// and below, which stand for no time.
std::string orario(std::int32_t secondi);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_WORDING_H_
