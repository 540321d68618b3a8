#include "tools/lsp_positions.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(RigheTesto, CutsAtEveryKindOfLineEnd) {
  const RigheTesto righe("a\r\nbb\ncc\rd\r\n");
  ASSERT_EQ(righe.numero(), 5);
  const char* attese[] = {"a", "bb", "cc", "d", ""};
  for (int n = 1; n <= 5; ++n) EXPECT_EQ(righe.riga(n), attese[n - 1]) << n;
  EXPECT_EQ(righe.riga(0), "");
  EXPECT_EQ(righe.riga(6), "");
}

TEST(Caratteri, CountUtf16UnitsOrBytesAndReadBack) {
  // "a", a two-byte letter, a four-byte character (two UTF-16 units), a
  // byte that is not UTF-8 (one character, as Windows-1252), "z".
  const std::string riga = "a\xc3\xa0\xf0\x9f\x9a\x82\xe8z";
  struct Caso {
    std::size_t byte;
    int utf16;
  };
  const Caso casi[] = {{0, 0}, {1, 1}, {3, 2}, {7, 4}, {8, 5}, {9, 6}, {50, 6}};
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.byte);
    EXPECT_EQ(carattere_da_byte(riga, c.byte, Codifica::utf16), c.utf16);
    EXPECT_EQ(byte_da_carattere(riga, c.utf16, Codifica::utf16), std::min(c.byte, riga.size()));
    EXPECT_EQ(carattere_da_byte(riga, c.byte, Codifica::utf8),
              static_cast<int>(std::min(c.byte, riga.size())));
  }
  EXPECT_EQ(byte_da_carattere(riga, -3, Codifica::utf16), 0u);
}

}  // namespace
}  // namespace scenario
