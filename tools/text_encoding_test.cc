#include "tools/text_encoding.h"

#include <gtest/gtest.h>

#include <cmath>

namespace scenario {
namespace {

TEST(Cp1252, ConvertsTheWholeCodePageToUtf8) {
  EXPECT_EQ(utf8_da_cp1252("Citt\xe0"), "Citt\xc3\xa0");
  EXPECT_EQ(utf8_da_cp1252("\x80 \x9f \xff"), "\xe2\x82\xac \xc5\xb8 \xc3\xbf");
  // Undefined bytes keep their value as C1 controls.
  EXPECT_EQ(da_cp1252(0x81), 0x81u);
  EXPECT_EQ(da_cp1252(0x41), 0x41u);
}

TEST(Utf8DaMisto, KeepsUtf8AndReadsOtherBytesAsCp1252) {
  const std::pair<std::string, std::string> casi[] = {
      {"Citt\xc3\xa0", "Citt\xc3\xa0"},                    // already UTF-8
      {"Citt\xe0", "Citt\xc3\xa0"},                        // Windows-1252
      {"\xe2\x82\xac \x80", "\xe2\x82\xac \xe2\x82\xac"},  // both in one text
      {"\xc3", "\xc3\x83"},                                // a sequence cut off
  };
  for (const auto& [dentro, atteso] : casi) {
    SCOPED_TRACE(dentro);
    EXPECT_EQ(utf8_da_misto(dentro), atteso);
  }
}

TEST(Utf8Valido, KeepsUtf8AndTakesOtherBytesAsLatin1) {
  const std::pair<std::string, std::string> casi[] = {
      {"plain", "plain"},
      {"Citt\xc3\xa0 \xe2\x82\xac \xf0\x9f\x9a\x82", "Citt\xc3\xa0 \xe2\x82\xac \xf0\x9f\x9a\x82"},
      // A lone continuation, a cut sequence, an overlong form, a surrogate.
      {"\x80", "\xc2\x80"},
      {"a\xe2\x82", "a\xc3\xa2\xc2\x82"},
      {"\xc0\xaf", "\xc3\x80\xc2\xaf"},
      {"\xed\xa0\x80", "\xc3\xad\xc2\xa0\xc2\x80"},
  };
  for (const auto& [in, out] : casi) {
    SCOPED_TRACE(out);
    EXPECT_EQ(utf8_valido(in), out);
    EXPECT_EQ(utf8_valido(out), out);
  }
  EXPECT_EQ(numero_caratteri("Citt\xc3\xa0"), 5u);
  EXPECT_EQ(numero_caratteri("a\xe2\x82"), 3u);
}

TEST(TestoDoppio, ShortestRoundTrip) {
  EXPECT_EQ(testo_doppio(0), "0");
  EXPECT_EQ(testo_doppio(0.1), "0.1");
  EXPECT_EQ(testo_doppio(-2.5), "-2.5");
  EXPECT_EQ(std::stod(testo_doppio(2444.833915161777)), 2444.833915161777);
  EXPECT_EQ(testo_doppio(NAN), "nan");
  EXPECT_EQ(testo_doppio(-INFINITY), "-inf");
}

}  // namespace
}  // namespace scenario
