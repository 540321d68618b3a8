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

TEST(JsonStringa, EscapesEverythingOutsidePrintableAscii) {
  const std::pair<std::string, std::string> casi[] = {
      {"plain", "\"plain\""},
      {"a\"b\\c", "\"a\\\"b\\\\c\""},
      {"\n\r\t\x01\x7f", "\"\\n\\r\\t\\u0001\\u007f\""},
      {"Citt\xc3\xa0", "\"Citt\\u00e0\""},
      {"\xe2\x82\xac", "\"\\u20ac\""},
      {"\xf0\x9f\x9a\x82", "\"\\ud83d\\ude82\""},
      // Invalid UTF-8: a lone continuation, a cut sequence, an overlong form.
      {"\x80", "\"\\u0080\""},
      {"a\xe2\x82", "\"a\\u00e2\\u0082\""},
      {"\xc0\xaf", "\"\\u00c0\\u00af\""},
      {"\xed\xa0\x80", "\"\\u00ed\\u00a0\\u0080\""},
  };
  for (const auto& [in, out] : casi) EXPECT_EQ(json_stringa(in), out) << out;
}

TEST(XmlTesto, EscapesMarkupAndDropsForbiddenControls) {
  EXPECT_EQ(xml_testo("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c&apos;");
  EXPECT_EQ(xml_testo("x\x01y\tz"), "xy\tz");
  EXPECT_EQ(xml_testo("\xff"), "\xc3\xbf");
  EXPECT_EQ(xml_testo("Citt\xc3\xa0"), "Citt\xc3\xa0");
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
