// The 5 ms clock shared by every game of the module.
#include <allegro.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "TickClock.h"

namespace {

TEST(TickClockTest, OnTickAddsOne) {
  tickCount = 41;
  OnTick();
  EXPECT_EQ(tickCount, 42);
}

TEST(TickClockTest, StartedClockAdvancesAboutTwoHundredTimesASecond) {
  StartTickClock();
  tickCount = 0;
  auto start = std::chrono::steady_clock::now();
  // Bounded wait: the clock must move within two seconds.
  while (tickCount < 40 && std::chrono::steady_clock::now() - start < std::chrono::seconds(2)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_GE(tickCount, 40);
  // 40 ticks of 5 ms take 0.2 s; a clock ten times too fast would be done at once.
  EXPECT_GT(seconds, 0.1);
  remove_int(OnTick);
}

TEST(TickClockTest, StartingTwiceKeepsOneCallback) {
  StartTickClock();
  StartTickClock();
  remove_int(OnTick);
  int32_t stopped = tickCount;
  rest(30);
  EXPECT_EQ(tickCount, stopped) << "a second OnTick was installed";
}

}  // namespace
