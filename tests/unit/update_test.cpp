// The frame rules: spawning, clicks, hits, escapes and their report.
#include <gtest/gtest.h>

#include <cstdlib>

#include "RandomValues.h"
#include "Resources.h"
#include "StartedGame.h"

namespace {

using UpdateTest = StartedGame;

TEST_F(UpdateTest, SpawnsOnlyOnceTheTicksExceedTheInterval) {
  tickCount = 250;
  Idle();
  EXPECT_TRUE(probe.targets().empty());
  EXPECT_EQ(tickCount, 250);
  tickCount = 251;
  Idle();
  ASSERT_EQ(probe.targets().size(), 1u);
  EXPECT_EQ(tickCount, 0);
  EXPECT_EQ(probe.spawnInterval(), 248);
}

TEST_F(UpdateTest, IntervalFallsByTwoToTenAndStaysThere) {
  int spawns = 0;
  while (probe.spawnInterval() > 10) {
    tickCount = probe.spawnInterval() + 1;
    Idle();
    ++spawns;
  }
  EXPECT_EQ(spawns, 120);
  EXPECT_EQ(probe.spawnInterval(), 10);
  tickCount = 11;
  Idle();
  EXPECT_EQ(probe.spawnInterval(), 10);
}

TEST_F(UpdateTest, NewTargetIsAppendedAndMovedInTheSameCall) {
  Place(100, 50);
  tickCount = 251;
  Idle();
  ASSERT_EQ(probe.targets().size(), 2u);
  EXPECT_EQ(probe.targets()[0]->x, 100);
  const Target& fresh = *probe.targets()[1];
  EXPECT_EQ(fresh.x, fresh.dir > 0 ? -23 : 343);
}

// Each spawn draws the target's height, its side, then the sound roll; the
// sound plays when the roll leaves 1 over 3, at full volume, pan 0, the
// sample's own speed and no loop. (Where Allegro is a DLL, Windows, the
// game calls the DLL's play_sample: no test program can stand in for it.)
#ifndef _WIN32
TEST_F(UpdateTest, SpawnDrawsHeightSideThenSoundRoll) {
  for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
    probe.targets().clear();
    PlayedSamples().clear();
    std::vector<int> r = RandValues(seed, 6);
    for (int spawn = 0; spawn < 2; ++spawn) {
      tickCount = probe.spawnInterval() + 1;
      Idle();
    }
    ASSERT_EQ(probe.targets().size(), 2u);
    size_t expectedSounds = 0;
    for (size_t spawn = 0; spawn < 2; ++spawn) {
      const Target& target = *probe.targets()[spawn];
      EXPECT_EQ(target.y, r[3 * spawn] % 216) << "seed " << seed;
      EXPECT_EQ(target.dir, r[3 * spawn + 1] % 2 == 0 ? -1 : +1) << "seed " << seed;
      expectedSounds += r[3 * spawn + 2] % 3 == 1;
    }
    ASSERT_EQ(PlayedSamples().size(), expectedSounds) << "seed " << seed;
    for (const PlayedSample& played : PlayedSamples()) {
      EXPECT_EQ(played.sample, probe.data()[kSpawnSound].dat);
      EXPECT_EQ(played.volume, 255);
      EXPECT_EQ(played.pan, 0);
      EXPECT_EQ(played.frequency, 1000);
      EXPECT_EQ(played.loop, 0);
    }
  }
}
#endif

TEST_F(UpdateTest, HeldButtonClicksOnceAndAgainAfterRelease) {
  Place(100, 100);
  Frame(220, 220, true);
  EXPECT_EQ(probe.score(), 1);
  Place(100, 100);
  for (int i = 0; i < 5; ++i) Frame(220, 220, true);
  EXPECT_EQ(probe.score(), 1) << "holding the button is not another click";
  Frame(220, 220, false);
  Frame(220, 220, true);
  EXPECT_EQ(probe.score(), 2) << "the second target, still under the pointer, is hit";
  EXPECT_TRUE(probe.targets()[1]->hit);
}

TEST_F(UpdateTest, ButtonAlreadyDownAtTheFirstFrameIsAClick) {
  probe.buttonLatch() = true;
  game.Shutdown();
  ASSERT_TRUE(game.Init());
  FlintmoorProbe::FreezeClock();
  Place(100, 100);
  Frame(220, 220, true);
  EXPECT_EQ(probe.score(), 1);
}

// After its move the target covers sky pixels x..x+23; the hit test is strict
// at all four edges.
TEST_F(UpdateTest, HitBoxEdgesAreStrict) {
  struct Case {
    int32_t skyX, skyY;
    bool hits;
  };
  const Case cases[] = {{100, 110, false}, {101, 110, true}, {123, 110, true}, {124, 110, false},
                        {110, 100, false}, {110, 101, true}, {110, 123, true}, {110, 124, false}};
  for (const Case& c : cases) {
    probe.targets().clear();
    probe.score() = 0;
    Place(100, 100);
    Frame(2 * c.skyX, 2 * c.skyY, true);
    Frame(0, 0, false);
    EXPECT_EQ(probe.score(), c.hits ? 1 : 0) << "sky (" << c.skyX << ", " << c.skyY << ")";
  }
}

TEST_F(UpdateTest, ScreenPositionHalvesTowardZero) {
  Place(-1, -1);
  Frame(-1, -1, true);  // halves to (0, 0), inside a target at (-1, -1)
  EXPECT_EQ(probe.score(), 1);
}

TEST_F(UpdateTest, OnePressHitsEveryTargetUnderThePointer) {
  Place(100, 100);
  Place(110, 105, -1);
  Place(200, 100);
  Frame(230, 230, true);
  EXPECT_EQ(probe.score(), 2);
  EXPECT_EQ(probe.bestScore(), 2);
  EXPECT_TRUE(probe.targets()[0]->hit);
  EXPECT_TRUE(probe.targets()[1]->hit);
  EXPECT_FALSE(probe.targets()[2]->hit);
}

TEST_F(UpdateTest, TargetAlreadyHitIsNotCountedAgain) {
  Place(100, 100, +1, true);
  Frame(220, 220, true);
  EXPECT_EQ(probe.score(), 0);
}

// An escape resets the score where it stands in the walk: hits before it are
// kept in the best score, hits after it count from zero.
TEST_F(UpdateTest, EscapeResetsTheScoreBetweenHitsOfTheSameWalk) {
  probe.score() = 5;
  probe.bestScore() = 5;
  Place(100, 100);
  Place(345, 10);  // leaves the sky unhit
  Place(102, 104, -1);
  EXPECT_EQ(Frame(220, 220, true), 1);
  EXPECT_EQ(probe.score(), 1);
  EXPECT_EQ(probe.bestScore(), 6);
  EXPECT_EQ(game.GetScore(), 6);
  EXPECT_EQ(probe.targets().size(), 2u);
}

TEST_F(UpdateTest, TargetsLeaveAt345AndMinus25Only) {
  Place(344, 10);
  Place(-24, 40, -1);
  EXPECT_EQ(Idle(), 0);
  EXPECT_EQ(probe.targets().size(), 2u);
  EXPECT_EQ(Idle(), 1);
  EXPECT_TRUE(probe.targets().empty());
}

TEST_F(UpdateTest, TwoEscapesInOneCallReportOneMissAndZeroScore) {
  probe.score() = 3;
  Place(345, 10);
  Place(-25, 40, -1);
  EXPECT_EQ(Idle(), 1);
  EXPECT_EQ(probe.score(), 0);
  EXPECT_EQ(probe.bestScore(), 0);
}

TEST_F(UpdateTest, HitTargetLeavesWithoutPenalty) {
  probe.score() = 3;
  Place(345, 10, +1, true);
  Place(100, 100);
  EXPECT_EQ(Idle(), 0);
  EXPECT_EQ(probe.score(), 3);
  ASSERT_EQ(probe.targets().size(), 1u);
  EXPECT_EQ(probe.targets()[0]->x, 100) << "the walk goes on after a removal";
}

TEST_F(UpdateTest, EmptySkyOnlyTracksTheButton) {
  EXPECT_EQ(Frame(10, 10, true), 0);
  EXPECT_TRUE(probe.buttonLatch());
  EXPECT_EQ(probe.score(), 0);
  EXPECT_TRUE(probe.targets().empty());
  EXPECT_EQ(Idle(), 0);
  EXPECT_FALSE(probe.buttonLatch());
}

// Neither Shutdown nor Init touches the clock: a game started again spawns at
// once when enough ticks have passed since the last spawn.
TEST_F(UpdateTest, SpawnScheduleRunsOnAcrossShutdownAndInit) {
  tickCount = 200;
  game.Shutdown();
  ASSERT_TRUE(game.Init());
  FlintmoorProbe::FreezeClock();
  EXPECT_EQ(tickCount, 200);
  tickCount = 251;
  Idle();
  EXPECT_EQ(probe.targets().size(), 1u);
}

}  // namespace
