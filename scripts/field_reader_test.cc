#include "scripts/field_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace scenario {
namespace {

/// Marks a read that must fail in `Caso::attesi`.
const char kFallita[] = "FALLITA";

/// One input and the reads made on it, in order.
struct Caso {
  const char* nome;
  std::string testo;
  /// One letter per read: t = text, l = 32-bit, i = 16-bit, b = Byte.
  std::string letture;
  /// What each read gives (numbers in decimal), or `kFallita`; reading stops
  /// at the first failure.
  std::vector<std::string> attesi;
  /// `AtEnd()` after the last read (checked only when every read succeeds).
  bool fine;
  /// `FieldLine()` after each read, when not empty.
  std::vector<int> righe = {};
};

/// Performs one read of kind `tipo`; returns the value as text or `kFallita`.
std::string Leggi(FieldReader& lettore, char tipo) {
  switch (tipo) {
    case 't': {
      std::string testo;
      return lettore.ReadText(&testo) ? testo : kFallita;
    }
    case 'l': {
      std::int32_t v = -99;
      return lettore.ReadLong(&v) ? std::to_string(v) : kFallita;
    }
    case 'i': {
      std::int16_t v = -99;
      return lettore.ReadInteger(&v) ? std::to_string(v) : kFallita;
    }
    case 'b': {
      std::uint8_t v = 99;
      return lettore.ReadByte(&v) ? std::to_string(v) : kFallita;
    }
  }
  ADD_FAILURE() << "unknown read kind " << tipo;
  return kFallita;
}

TEST(FieldReader, Cases) {
  const std::vector<Caso> casi = {
      // Numbers and their delimiters.
      {"blanks before a comma", "0    ,0", "ll", {"0", "0"}, true},
      {"numbers separated by blanks",
       "orologio,    14              24            40 \r\n",
       "tiii",
       {"orologio", "14", "24", "40"},
       true},
      {"empty numeric fields", "0,  ,  ,  ,  0", "lllll", {"0", "0", "0", "0", "0"}, true},
      {"empty fields between values",
       "135,  0,  ,  ,  ,  7\r\n",
       "llllll",
       {"135", "0", "0", "0", "0", "7"},
       true},
      {"negative number", "-1500,    0", "ll", {"-1500", "0"}, true},
      {"number then line end", "12 \r\n34", "ll", {"12", "34"}, true, {1, 2}},
      {"empty field at a line end", "x,\r\n5", "tll", {"x", "0", "5"}, true, {1, 1, 2}},
      {"tabs are blanks", "\t 12\t,\t3", "ll", {"12", "3"}, true},
      {"text after a number stays", "5 x,y", "ltt", {"5", "x", "y"}, true},
      {"letters after digits", "12abc", "l", {kFallita}, false},
      {"sign alone", "-", "l", {kFallita}, false},
      {"plus sign", "+5", "l", {kFallita}, false},
      {"text where a number is due", "NOVARA", "l", {kFallita}, false},
      {"32-bit limits", "2147483647,-2147483648", "ll", {"2147483647", "-2147483648"}, true},
      {"32-bit overflow", "2147483648", "l", {kFallita}, false},
      {"32-bit underflow", "-2147483649", "l", {kFallita}, false},
      {"huge number", "99999999999999999999999", "l", {kFallita}, false},
      {"Byte limits", "0,255", "bb", {"0", "255"}, true},
      {"Byte over 255", "256", "b", {kFallita}, false},
      {"negative Byte", "-1", "b", {kFallita}, false},
      {"16-bit limits", "-32768,32767", "ii", {"-32768", "32767"}, true},
      {"16-bit overflow", "40000", "i", {kFallita}, false},

      // Line ends.
      {"LF line ends", "a,1\nb,2\n", "tltl", {"a", "1", "b", "2"}, true, {1, 1, 2, 2}},
      {"CR line ends", "a,1\rb,2\r", "tltl", {"a", "1", "b", "2"}, true, {1, 1, 2, 2}},
      {"CR LF line ends", "a,1\r\nb,2\r\n", "tltl", {"a", "1", "b", "2"}, true, {1, 1, 2, 2}},
      {"last line without a line end", "a,1\r\nb,2", "tltl", {"a", "1", "b", "2"}, true},
      {"last text without a line end", "x\r\n[fine]", "tt", {"x", "[fine]"}, true, {1, 2}},
      {"empty line is one field", "a\r\n\r\nb\r\n", "ttt", {"a", "", "b"}, true, {1, 2, 3}},
      {"empty line as a number", "\r\n7", "ll", {"0", "7"}, true, {1, 2}},

      // The end of the file.
      {"number past the end", "5\r\n", "ll", {"5", kFallita}, false},
      {"text past the end", "x", "tt", {"x", kFallita}, false},
      {"empty file", "", "t", {kFallita}, false},
      {"blanks before the end", "x,   ", "tt", {"x", ""}, true},
      {"text consumes its line end", "x\r\n", "t", {"x"}, true},
      {"text leaves the next line alone", "x\r\ny", "t", {"x"}, false},

      // Text fields.
      {"inner blanks kept, trailing ones dropped",
       "   (PL km )(13+197)  \t,(P O   500 m)\r\n",
       "tt",
       {"(PL km )(13+197)", "(P O   500 m)"},
       true},
      {"station name closes the line",
       "  14,25, 0, P. M. CAMERI\r\nx",
       "lllt",
       {"14", "25", "0", "P. M. CAMERI"},
       false},
      {"quotes have no meaning", "\"a,b\"", "tt", {"\"a", "b\""}, true},
      {"longest text",
       std::string(FieldReader::kMaxText, 'a'),
       "t",
       {std::string(FieldReader::kMaxText, 'a')},
       true},
      {"text too long", std::string(FieldReader::kMaxText + 1, 'a'), "t", {kFallita}, false},
  };

  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    ASSERT_EQ(caso.letture.size(), caso.attesi.size());
    FieldReader lettore(caso.testo);
    bool fallita = false;
    for (std::size_t n = 0; n < caso.letture.size() && !fallita; ++n) {
      const std::string valore = Leggi(lettore, caso.letture[n]);
      EXPECT_EQ(valore, caso.attesi[n]) << "read " << n;
      fallita = valore == kFallita;
      if (!caso.righe.empty()) {
        EXPECT_EQ(lettore.FieldLine(), caso.righe[n]) << "read " << n;
      }
    }
    if (!fallita) {
      EXPECT_EQ(lettore.AtEnd(), caso.fine);
    }
  }
}

TEST(FieldReader, FieldLineIsWhereTheFieldStarted) {
  // The 40 ends line 1 with the line end that follows it; its field still
  // started on line 1, while the reader already stands on line 2.
  FieldReader lettore("orologio,    14   24   40 \r\nsabbia,300");
  std::string testo;
  std::int16_t v = 0;
  ASSERT_TRUE(lettore.ReadText(&testo));
  ASSERT_TRUE(lettore.ReadInteger(&v));
  ASSERT_TRUE(lettore.ReadInteger(&v));
  ASSERT_TRUE(lettore.ReadInteger(&v));
  EXPECT_EQ(v, 40);
  EXPECT_EQ(lettore.FieldLine(), 1);
  EXPECT_EQ(lettore.CurrentLine(), 2);
  ASSERT_TRUE(lettore.ReadText(&testo));
  EXPECT_EQ(testo, "sabbia");
  EXPECT_EQ(lettore.FieldLine(), 2);
}

TEST(FieldReader, FieldOffsetAndLengthCoverTheFieldAsRead) {
  // Offsets and lengths of each field, also of the field a read failed on.
  FieldReader lettore("velocita,   120.5 ,x\r\n  , nome con blank  \r\n");
  std::string testo;
  std::int32_t v = 0;
  ASSERT_TRUE(lettore.ReadText(&testo));
  EXPECT_EQ(lettore.FieldOffset(), 0u);
  EXPECT_EQ(lettore.FieldLength(), 8u);
  EXPECT_FALSE(lettore.ReadLong(&v));
  EXPECT_EQ(lettore.FieldOffset(), 12u);
  EXPECT_EQ(lettore.FieldLength(), 5u);
  FieldReader vuoto("  , nome con blank  \r\n");
  ASSERT_TRUE(vuoto.ReadLong(&v));
  EXPECT_EQ(vuoto.FieldOffset(), 2u);
  EXPECT_EQ(vuoto.FieldLength(), 0u);
  ASSERT_TRUE(vuoto.ReadText(&testo));
  EXPECT_EQ(vuoto.FieldOffset(), 4u);
  EXPECT_EQ(vuoto.FieldLength(), 14u);
}

}  // namespace
}  // namespace scenario
