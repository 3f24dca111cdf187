// A long game with scripted input: what must never happen doesn't.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "StartedGame.h"

namespace {

using LongSessionTest = StartedGame;

TEST_F(LongSessionTest, InvariantsHoldOverTwentyThousandFrames) {
  std::mt19937 script(20261208);
  constexpr int kTicksPerFrame = 3;  // a little faster than 60 frames a second
  // A target lives at most 370 frames and spawns come at most every 4 frames.
  constexpr size_t kMostInFlight = 370 / 4 + 1;
  int hits = 0, misses = 0;
  size_t mostInFlight = 0;
  bool pressed = false;
  for (int frame = 0; frame < 20000; ++frame) {
    tickCount += kTicksPerFrame;
    int32_t x = int32_t(script() % 640), y = int32_t(script() % 480);
    // Now and then aim at the oldest target, to score runs of hits.
    if (!probe.targets().empty() && script() % 3 == 0) {
      x = 2 * (probe.targets()[0]->x + 12);
      y = 2 * (probe.targets()[0]->y + 12);
    }
    pressed = script() % 4 == 0 ? !pressed : pressed;
    std::vector<const Target*> hitBefore;
    for (const auto& target : probe.targets()) {
      if (target->hit) hitBefore.push_back(target.get());
    }
    int32_t scoreBefore = probe.score();
    misses += Frame(x, y, pressed);
    hits += std::max(0, probe.score() - scoreBefore);

    for (const auto& target : probe.targets()) {
      ASSERT_GE(target->x, -24) << "frame " << frame;
      ASSERT_LE(target->x, 344) << "frame " << frame;
      ASSERT_GE(target->y, 0);
      ASSERT_LE(target->y, 215);
      bool wasHit = std::count(hitBefore.begin(), hitBefore.end(), target.get()) > 0;
      ASSERT_TRUE(!wasHit || target->hit) << "a hit flag went back to false";
    }
    ASSERT_LE(probe.score(), probe.bestScore());
    ASSERT_GE(probe.score(), 0);
    mostInFlight = std::max(mostInFlight, probe.targets().size());
  }
  EXPECT_LE(mostInFlight, kMostInFlight);
  EXPECT_GT(hits, 100) << "the script should score";
  EXPECT_GT(misses, 100) << "the script should miss";
  EXPECT_GT(probe.bestScore(), 1);
}

}  // namespace
