#include "tools/wording.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(Plurale, NounInTheRightNumber) {
  EXPECT_EQ(plurale(1, "station", "stations"), "1 station");
  EXPECT_EQ(plurale(0, "station", "stations"), "0 stations");
  EXPECT_EQ(plurale(12, "signal", "signals"), "12 signals");
}

TEST(Orario, HoursMinutesSecondsOrNothing) {
  EXPECT_EQ(orario(51900), "14:25:00");
  EXPECT_EQ(orario(8 * 3600 + 20 * 60 + 5), "08:20:05");
  EXPECT_EQ(orario(100 * 3600), "100:00:00");
  EXPECT_EQ(orario(0), "");
  EXPECT_EQ(orario(-1), "");
}

}  // namespace
}  // namespace scenario
