#include "scripts/nearest_word.h"

#include <gtest/gtest.h>

#include <string_view>

namespace scenario {
namespace {

TEST(NearestWord, EditsCountSwapsAsOne) {
  struct Caso {
    std::string_view a, b;
    std::size_t distanza;
  } casi[] = {
      {"stazione", "stazione", 0}, {"Stazione", "stazione", 0}, {"stazoine", "stazione", 1},
      {"curvx4", "curva", 2},      {"", "sabbia", 6},           {"segnale", "", 7},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(std::string(c.a) + " / " + std::string(c.b));
    EXPECT_EQ(distanza_parole(c.a, c.b), c.distanza);
    EXPECT_EQ(distanza_parole(c.b, c.a), c.distanza);
  }
}

TEST(NearestWord, SuggestsOnlyACloseWord) {
  const std::string_view parole[] = {"segnale", "stazione", "sabbia", "curva"};
  EXPECT_EQ(parola_piu_vicina("stazoine", parole), "stazione");
  EXPECT_EQ(parola_piu_vicina("segnalle", parole), "segnale");
  EXPECT_EQ(parola_piu_vicina("curvx4", parole), "curva");
  EXPECT_EQ(parola_piu_vicina("orologio", parole), "");
  EXPECT_EQ(parola_piu_vicina("", parole), "");
}

}  // namespace
}  // namespace scenario
