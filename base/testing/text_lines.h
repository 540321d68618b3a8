// Test support: a text file cut into its CR LF lines, and lines joined
// into one.
#ifndef SCENARIO_BASE_TESTING_TEXT_LINES_H_
#define SCENARIO_BASE_TESTING_TEXT_LINES_H_

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

/// The lines of `testo`, each of which must end in CR LF; a last line
/// without one, or a lone CR or LF anywhere, is a test failure.
inline std::vector<std::string> righe_crlf(const std::string& testo) {
  std::vector<std::string> righe;
  std::size_t inizio = 0;
  while (inizio < testo.size()) {
    const std::size_t fine = testo.find("\r\n", inizio);
    if (fine == std::string::npos) {
      ADD_FAILURE() << "last line without CR LF";
      break;
    }
    righe.push_back(testo.substr(inizio, fine - inizio));
    EXPECT_EQ(righe.back().find_first_of("\r\n"), std::string::npos) << "line " << righe.size();
    inizio = fine + 2;
  }
  return righe;
}

/// The text of a file made of `righe`, each ended by CR LF.
template <std::size_t N>
std::string testo_crlf(const std::array<std::string_view, N>& righe) {
  std::string t;
  for (std::string_view r : righe) (t += r) += "\r\n";
  return t;
}

}  // namespace scenario

#endif  // SCENARIO_BASE_TESTING_TEXT_LINES_H_
