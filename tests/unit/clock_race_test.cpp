// The clock is shared by Allegro's timer thread, which ticks it, and the
// host's thread, which reads and resets it. Built with ThreadSanitizer, this
// runs both for real and must report no race.
#include <allegro.h>
#include <gtest/gtest.h>

#include <chrono>

#include "Target.h"
#include "TickClock.h"

namespace {

TEST(ClockRaceTest, TimerThreadAndHostThreadShareTheClock) {
  StartTickClock();
  Target target;
  int32_t resets = 0;
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
  while (std::chrono::steady_clock::now() < end) {
    if (tickCount.load() > 10) {  // as a spawn does
      tickCount.store(0);
      ++resets;
    }
    target.Move();  // reads the clock for its animation
    if (target.x > 344) target.x = -24;
    rest(0);
  }
  remove_int(OnTick);
  EXPECT_GT(resets, 0) << "the timer thread never ticked";
}

}  // namespace
