// Test support: a text file cut into its CR LF lines.
#ifndef SCENARIO_BASE_TESTING_TEXT_LINES_H_
#define SCENARIO_BASE_TESTING_TEXT_LINES_H_

#include <gtest/gtest.h>

#include <string>
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

}  // namespace scenario

#endif  // SCENARIO_BASE_TESTING_TEXT_LINES_H_
