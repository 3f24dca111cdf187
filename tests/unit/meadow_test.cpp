// Molehill's rules, frame by frame, on their own: when moles come up, what a
// click bonks, when one gets away, and the quickening pace.
#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <vector>

#include "Meadow.h"

namespace {

int OnlyHole(uint32_t holes) {
  EXPECT_EQ(std::bitset<32>(holes).count(), 1u) << "holes " << holes;
  for (int hole = 0; hole < kHoleCount; ++hole) {
    if (holes >> hole & 1u) return hole;
  }
  return -1;
}

// Where a click at a hole lands, on the middle of its mole.
int32_t MoleX(int hole) {
  return kHoles[hole].x;
}
int32_t MoleY(int hole) {
  return kHoles[hole].lip - kMoleHeight / 2;
}

class MeadowTest : public testing::Test {
 protected:
  // Frames without a click until a mole comes up; its hole.
  int UntilAPop() {
    for (int frame = 0; frame < 1000; ++frame) {
      const FrameEvents events = meadow.Step(false, 0, 0);
      EXPECT_EQ(events.escaped, 0u) << "frame " << frame;
      if (events.popped != 0) return OnlyHole(events.popped);
    }
    ADD_FAILURE() << "no mole came up in 1000 frames";
    return 0;
  }
  FrameEvents Click(int32_t x, int32_t y) {
    const FrameEvents events = meadow.Step(true, x, y);
    meadow.Step(false, x, y);
    return events;
  }

  Meadow meadow{7};
};

// Up, held there for its stay, down: away exactly as it vanishes, and the
// run of bonks starts again while the best is kept.
TEST_F(MeadowTest, AMoleLeftAloneGetsAwayAsItVanishes) {
  const int first = UntilAPop();
  ASSERT_NE(Click(MoleX(first), MoleY(first)).bonked, 0u);
  const int hole = UntilAPop();
  const int32_t stay = meadow.MoleAt(hole).stay;
  const int32_t out = Meadow::kRiseFrames + stay + Meadow::kSinkFrames;
  int32_t highest = 0;
  for (int32_t frame = 1; frame < out; ++frame) {
    ASSERT_EQ(meadow.Step(false, 0, 0).escaped, 0u) << "frame " << frame << " of " << out;
    EXPECT_GT(meadow.Rise(hole), 0) << "frame " << frame;
    highest = std::max(highest, meadow.Rise(hole));
  }
  EXPECT_EQ(highest, kMoleHeight);
  EXPECT_EQ(meadow.Step(false, 0, 0).escaped, 1u << hole);
  EXPECT_EQ(meadow.Rise(hole), 0);
  EXPECT_EQ(meadow.Score(), 0);
  EXPECT_EQ(meadow.Best(), 1);
}

TEST_F(MeadowTest, OnlyAPressThatReachesAMoleBonksIt) {
  const int hole = UntilAPop();
  const int32_t x = MoleX(hole), y = MoleY(hole);
  // Beside it, below its lip's crumbs, and a button held onto it from there.
  EXPECT_EQ(Click(kHoles[hole].x + kMoleWidth / 2, y).bonked, 0u);
  EXPECT_EQ(Click(x, kHoles[hole].lip + kLipGrace).bonked, 0u);
  meadow.Step(true, x + kMoleWidth, y);
  EXPECT_EQ(meadow.Step(true, x, y).bonked, 0u);
  EXPECT_EQ(meadow.Score(), 0);

  meadow.Step(false, x, y);
  const FrameEvents bonk = meadow.Step(true, x, y);
  EXPECT_TRUE(bonk.clicked);
  EXPECT_EQ(bonk.bonked, 1u << hole);
  EXPECT_EQ(meadow.MoleAt(hole).state, MoleState::kBonked);
  EXPECT_EQ(Click(x, y).bonked, 0u) << "bonked twice";
  EXPECT_EQ(meadow.Score(), 1);
  // Dizzy, then down, and never counted as away.
  for (int frame = 0; frame < 200; ++frame) {
    ASSERT_EQ(meadow.Step(false, 0, 0).escaped & (1u << hole), 0u) << "frame " << frame;
  }
  EXPECT_EQ(meadow.Best(), 1);
}

// Left alone for three minutes: moles come ever more often and stay ever
// shorter, down to the fastest pace and no further, and a hole rests before
// its next mole.
TEST_F(MeadowTest, ThePaceQuickensToItsFastest) {
  std::vector<int> pops;
  std::vector<int> lastDown(kHoleCount, -1000);
  for (int frame = 0; frame < 180 * 60; ++frame) {
    const FrameEvents events = meadow.Step(false, 0, 0);
    for (int hole = 0; hole < kHoleCount; ++hole) {
      if (events.escaped >> hole & 1u) lastDown[size_t(hole)] = frame;
    }
    if (events.popped == 0) continue;
    const int hole = OnlyHole(events.popped);
    EXPECT_GE(frame - lastDown[size_t(hole)], Meadow::kRestFrames) << "frame " << frame;
    pops.push_back(frame);
  }
  ASSERT_GT(pops.size(), 200u);
  EXPECT_EQ(meadow.Interval(), Meadow::kShortestInterval);
  EXPECT_EQ(meadow.Stay(), Meadow::kShortestStay);
  // The last hundred gaps, on average, are the fastest pace's.
  const double lastGaps = double(pops.back() - pops[pops.size() - 101]) / 100;
  EXPECT_NEAR(lastGaps, Meadow::kShortestInterval, 2);
  EXPECT_GT(double(pops[10] - pops[0]) / 10, 2.5 * Meadow::kShortestInterval);
}

}  // namespace
