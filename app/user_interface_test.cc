#include "app/user_interface.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(Errore, MessageTextIsExact) {
  EXPECT_EQ(testo_errore("1251"), " Errore n. 1251");
  EXPECT_EQ(testo_errore("1250"), " Errore n. 1250");
}

}  // namespace
}  // namespace scenario
