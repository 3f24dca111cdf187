#include "Target.h"

#include <cstdlib>

#include "TickClock.h"

namespace {
constexpr int32_t kHeights = 216;       // y from 0 to 215
constexpr int64_t kTicksPerFrame = 20;  // a flap once more than 100 ms have passed
}  // namespace

Target::Target() : x(kLeftStart), dir(+1) {
  y = std::rand() % kHeights;
  frameTick = tickCount.load(std::memory_order_relaxed);
  frame = 0;
  if (std::rand() % 2 == 0) {
    x = kRightStart;
    dir = -1;
  }
  hit = false;
}

void Target::Move() {
  x += dir;
  int32_t now = tickCount.load(std::memory_order_relaxed);
  // In 64 bits: the difference of two 32-bit counts can't overflow there.
  if (std::llabs(int64_t{frameTick} - now) > kTicksPerFrame) {
    frame = 1 - frame;
    frameTick = now;
  }
}
