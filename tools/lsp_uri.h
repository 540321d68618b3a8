// The editor names documents by URI; the scripts beside them are found by
// path. Only "file" URIs name files.
#ifndef SCENARIO_TOOLS_LSP_URI_H_
#define SCENARIO_TOOLS_LSP_URI_H_

#include <string>
#include <string_view>

namespace scenario {

/// The path of a "file://" URI (empty or "localhost" authority), its
/// %XX escapes decoded; "" for any other URI, a malformed escape or a path
/// that would hold a NUL byte.
std::string percorso_da_uri(std::string_view uri);

/// The "file://" URI of an absolute path: every byte but letters, digits,
/// "-._~/" written as a %XX escape.
std::string uri_da_percorso(std::string_view percorso);

}  // namespace scenario

#endif  // SCENARIO_TOOLS_LSP_URI_H_
