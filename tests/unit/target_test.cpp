// Creation and flight of a single target.
#include <gtest/gtest.h>

#include <cstdlib>

#include "RandomValues.h"
#include "Target.h"
#include "TickClock.h"

namespace {

// Finds a seed whose second value has the parity asked for.
unsigned SeedWithSide(bool even) {
  for (unsigned seed = 1;; ++seed) {
    if ((RandValues(seed, 2)[1] % 2 == 0) == even) return seed;
  }
}

TEST(TargetTest, CreationTakesHeightThenSideFromTwoRandomValues) {
  for (bool startsRight : {true, false}) {
    unsigned seed = SeedWithSide(startsRight);
    std::vector<int> r = RandValues(seed, 3);
    tickCount = 777;
    Target target;
    EXPECT_EQ(target.y, r[0] % 216);
    EXPECT_EQ(target.x, startsRight ? 344 : -24);
    EXPECT_EQ(target.dir, startsRight ? -1 : +1);
    EXPECT_EQ(target.frame, 0);
    EXPECT_EQ(target.frameTick, 777);
    EXPECT_FALSE(target.hit);
    EXPECT_EQ(std::rand(), r[2]) << "creation must draw exactly two values";
  }
}

TEST(TargetTest, HeightStaysWithinTheSky) {
  std::srand(5);
  for (int i = 0; i < 5000; ++i) {
    Target target;
    ASSERT_GE(target.y, 0);
    ASSERT_LE(target.y, 215);
  }
}

TEST(TargetTest, FirstMoveAndFullCrossing) {
  for (bool startsRight : {true, false}) {
    std::srand(SeedWithSide(startsRight));
    tickCount = 0;
    Target target;
    target.Move();
    EXPECT_EQ(target.x, startsRight ? 343 : -23);
    int moves = 1;
    while (target.x <= 344 && target.x >= -24) {
      target.Move();
      ++moves;
    }
    EXPECT_EQ(moves, 369) << "crossing from one start to beyond the other edge";
  }
}

TEST(TargetTest, FrameFlipsOnlyWhenMoreThanTwentyTicksHavePassed) {
  tickCount = 100;
  Target target;
  tickCount = 120;
  target.Move();
  EXPECT_EQ(target.frame, 0);
  EXPECT_EQ(target.frameTick, 100);
  tickCount = 121;
  target.Move();
  EXPECT_EQ(target.frame, 1);
  EXPECT_EQ(target.frameTick, 121);
  tickCount = 142;
  target.Move();
  EXPECT_EQ(target.frame, 0);
}

TEST(TargetTest, FrameFlipsWhenTheClockWasResetBelowItsTick) {
  tickCount = 500;
  Target target;
  tickCount = 479;  // exactly 21 behind
  target.Move();
  EXPECT_EQ(target.frame, 1);
  EXPECT_EQ(target.frameTick, 479);
  tickCount = 0;
  target.Move();
  EXPECT_EQ(target.frame, 0);
  EXPECT_EQ(target.frameTick, 0);
}

TEST(TargetTest, FrameFlipSurvivesTheFarEndsOfTheCounter) {
  tickCount = INT32_MAX;
  Target target;
  tickCount = INT32_MIN;
  target.Move();
  EXPECT_EQ(target.frame, 1);
}

}  // namespace
