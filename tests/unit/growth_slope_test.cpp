// Memory growth judged by its slope over many readings.
#include <gtest/gtest.h>

#include "GrowthSlope.h"

namespace {

TEST(GrowthSlopeTest, ASteadyClimbIsItsOwnSlope) {
  GrowthSlope growth;
  for (int step = 10; step <= 60; ++step) growth.Sample(step, 1000 + 2.5 * step);
  EXPECT_NEAR(growth.KilobytesPerStep(), 2.5, 1e-9);
  EXPECT_NEAR(growth.FittedGrowth(), 125, 1e-9);
  EXPECT_TRUE(growth.Exceeds(1, 48));
  EXPECT_EQ(growth.Describe("cycle", "cycles"),
            "+2.500 kB a cycle over cycles 10-60 (51 readings)");
}

// One high or low reading among flat ones neither raises nor hides much.
TEST(GrowthSlopeTest, FlatMemoryWithOneOutlierIsNotGrowth) {
  GrowthSlope growth;
  for (int step = 0; step < 50; ++step) growth.Sample(step, step == 25 ? 5000 : 1000);
  EXPECT_FALSE(growth.Exceeds(1, 48)) << growth.Describe("cycle", "cycles");
}

// Growth must be fast and large: a steep slope over a few kilobytes, or a
// gentle one over many, is the allocator settling.
TEST(GrowthSlopeTest, GrowthMustBeBothFastAndLarge) {
  GrowthSlope steepButSmall, largeButSlow;
  for (int step = 0; step < 10; ++step) steepButSmall.Sample(step, 1000 + 3 * step);
  for (int step = 0; step < 3000; step += 50) largeButSlow.Sample(step, 1000 + 0.04 * step);
  EXPECT_FALSE(steepButSmall.Exceeds(1, 48));
  EXPECT_FALSE(largeButSlow.Exceeds(0.05, 64));
}

// A correct module's memory may rise once mid-run (the allocator taking a
// new arena): a step is not growth that goes on, a leak in both halves is.
TEST(GrowthSlopeTest, AOneTimeStepIsNotALeakButGrowthInBothHalvesIs) {
  for (int stepAt : {18, 25, 33, 45}) {
    GrowthSlope growth;
    for (int cycle = 10; cycle < 60; ++cycle) growth.Sample(cycle, cycle < stepAt ? 9000 : 9033);
    EXPECT_GT(growth.KilobytesPerStep(), 0.3) << "step at cycle " << stepAt;
    EXPECT_FALSE(growth.Exceeds(0.3, 8))
        << "step at cycle " << stepAt << ": " << growth.Describe("cycle", "cycles");
  }
  GrowthSlope leak;
  for (int cycle = 10; cycle < 60; ++cycle) leak.Sample(cycle, 9000 + 1.2 * cycle + cycle % 3);
  EXPECT_TRUE(leak.Exceeds(1, 48)) << leak.Describe("cycle", "cycles");
}

// Memory read in whole pages, with the allocator's 64 kB steps now and then:
// a few jumps, one in each half, are not a leak; a leak of a kilobyte a
// cycle, which shows a page every fourth cycle, is.
TEST(GrowthSlopeTest, AFewJumpsAreNotALeakButPagesEveryFewCyclesAre) {
  GrowthSlope jumps, pages;
  for (int cycle = 10; cycle < 60; ++cycle) {
    jumps.Sample(cycle, 8596 + 64 * (cycle >= 22) + 64 * (cycle >= 47));
    const int wholePages = cycle * 1024 / 4096;  // a kilobyte a cycle, read in 4 kB pages
    pages.Sample(cycle, 8596 + 4 * wholePages);
  }
  EXPECT_FALSE(jumps.Exceeds(1, 48)) << jumps.Describe("cycle", "cycles");
  EXPECT_TRUE(pages.Exceeds(0.9, 40)) << pages.Describe("cycle", "cycles");
}

// A leak that begins after 5000 frames: nothing in the first 3000 (what
// the frames checks see), and plain over the later half of a long play.
TEST(GrowthSlopeTest, GrowthThatBeginsLateShowsInTheLaterPart) {
  GrowthSlope early, whole;
  for (int frame = 500; frame < 20000; frame += 100) {
    const double kilobytes = frame < 5000 ? 9000 : 9000 + (frame - 5000) * 1.0;
    whole.Sample(frame, kilobytes);
    if (frame < 3000) early.Sample(frame, kilobytes);
  }
  EXPECT_FALSE(early.Exceeds(0.05, 64)) << early.Describe("frame", "frames");
  const GrowthSlope later = whole.From(10000);
  EXPECT_TRUE(later.Exceeds(0.05, 64)) << later.Describe("frame", "frames");
  EXPECT_EQ(later.Describe("frame", "frames"),
            "+1.000 kB a frame over frames 10000-19900 (100 readings)");
}

TEST(GrowthSlopeTest, FewerThanTwoReadingsMeasureNothing) {
  GrowthSlope growth;
  EXPECT_EQ(growth.KilobytesPerStep(), 0);
  growth.Sample(1, 500);
  EXPECT_EQ(growth.FittedGrowth(), 0);
  EXPECT_EQ(growth.Describe("frame", "frames"), "not measured");
}

}  // namespace
