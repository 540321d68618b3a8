#include "compiler/error_codes.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(ErrorCodes, EveryCodeHasAMeaning) {
  for (int c : {1,  2,  3,  4,  5,  6,  7,  8,  9,  10,  11,  12,  13,   15,
                16, 17, 18, 19, 20, 21, 22, 24, 25, 101, 102, 103, 1250, 1251}) {
    EXPECT_STRNE(significato_codice(c), "unknown code") << c;
  }
  EXPECT_STREQ(significato_codice(14), "unknown code");
}

}  // namespace
}  // namespace scenario
