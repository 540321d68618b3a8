#include "tools/json_output.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace scenario {
namespace {

TEST(JsonTesto, EscapesEverythingOutsidePrintableAscii) {
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
  for (const auto& [in, out] : casi) EXPECT_EQ(testo_json(json_testo(in)), out) << out;
}

TEST(JsonRecord, ConvertsWindows1252) {
  EXPECT_EQ(testo_json(json_record("Citt\xe0 \x80 \x81 \xff")),
            "\"Citt\\u00e0 \\u20ac \\u0081 \\u00ff\"");
}

TEST(TestoJson, BytesThatAreNotUtf8DoNotThrow) {
  // A string put in without conversion: the printing replaces, never throws.
  Json j = {{"a", std::string("x\xff\xc3")}, {"b", 1}};
  std::string testo;
  EXPECT_NO_THROW(testo = testo_json(j));
  EXPECT_EQ(testo, "{\"a\":\"x\\ufffd\\ufffd\",\"b\":1}");
}

TEST(TestoJson, KeysInTheOrderAdded) {
  Json j;
  j["z"] = 1;
  j["a"] = nullptr;
  j["m"] = Json::array({1, 2.5, "t"});
  EXPECT_EQ(testo_json(j), "{\"z\":1,\"a\":null,\"m\":[1,2.5,\"t\"]}");
}

}  // namespace
}  // namespace scenario
