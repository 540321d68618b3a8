// JSON as the tool prints it: one line, ASCII only, keys in the order they
// were added. Record texts are converted from Windows-1252, any other text
// is made valid UTF-8 first, and the printing replaces rather than throws on
// whatever is left that is not UTF-8.
#ifndef SCENARIO_TOOLS_JSON_OUTPUT_H_
#define SCENARIO_TOOLS_JSON_OUTPUT_H_

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace scenario {

/// A JSON value of the tool's output; objects keep their keys in order.
using Json = nlohmann::ordered_json;

/// A text of the scenario files (Windows-1252) as a JSON string.
Json json_record(std::string_view cp1252);

/// Any other text (a path, a name from the command line) as a JSON string:
/// valid UTF-8 kept, every other byte taken as a Latin-1 character.
Json json_testo(std::string_view testo);

/// `valore` as one line of JSON: every character outside printable ASCII
/// written as a \u escape, an invalid UTF-8 byte as U+FFFD.
std::string testo_json(const Json& valore);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_JSON_OUTPUT_H_
