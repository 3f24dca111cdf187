// One target flying across the 320x240 sky.
#ifndef FLINTMOOR_GAME_TARGET_H
#define FLINTMOOR_GAME_TARGET_H

#include <cstdint>

struct Target {
  static constexpr int32_t kSize = 24;
  static constexpr int32_t kLeftStart = -kSize;
  // A full width beyond the right edge: out of sight for its first 24 moves.
  static constexpr int32_t kRightStart = 320 + kSize;

  int32_t x;
  int32_t y;
  int32_t frame;      // animation frame, 0 or 1
  int32_t frameTick;  // tickCount at the last frame change
  int32_t dir;        // +1 flying right, -1 flying left
  bool hit;

  // A new target at a random height, starting at the left or the right edge.
  // Draws two pseudo-random values (height, then side).
  Target();

  // One step along its flight; flaps its frame every 20 ticks or so.
  void Move();
};

#endif
