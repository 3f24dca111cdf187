// Memory lent for one call: usable while lent, and a use after it is taken
// back crashes there and then, at an address inside the pages.
#include <gtest/gtest.h>

#include <cstring>

#include "LentPages.h"

namespace {

TEST(LentPagesTest, UsableWhileLentAndNotAfter) {
  LentPages pages(2);
  auto* first = static_cast<volatile int*>(pages.Lend(0));
  auto* second = static_cast<volatile int*>(pages.Lend(1));
  *first = 7;
  *second = 8;
  EXPECT_EQ(*first + *second, 15);
  EXPECT_NE(first, second);
  EXPECT_GE(reinterpret_cast<uintptr_t>(first), pages.Begin());
  EXPECT_LT(reinterpret_cast<uintptr_t>(second), pages.End());
  pages.TakeBack(0);
  EXPECT_EQ(*second, 8) << "taking one back leaves the other";
  EXPECT_DEATH({ [[maybe_unused]] int read = *first; }, "");
  pages.Lend(0);
  EXPECT_EQ(*first, 7) << "lent again, it holds what it held";
}

}  // namespace
