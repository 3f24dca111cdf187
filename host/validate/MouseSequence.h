// The mouse input the validator gives a game: every corner and edge of the
// 640x480 screen and just outside it, the 32-bit extremes, and random play.
#ifndef FLINTMOOR_HOST_MOUSESEQUENCE_H
#define FLINTMOOR_HOST_MOUSESEQUENCE_H

#include <random>
#include <vector>

#include "IGame.h"

class MouseSequence {
 public:
  explicit MouseSequence(unsigned seed);
  // The first frames go through every edge case, pressed and released; after
  // that every seventh frame is an edge case again, the others random.
  MouseInput Next();

 private:
  MouseInput Random();

  std::vector<MouseInput> edges_;
  size_t frame_ = 0;
  std::mt19937 random_;
  MouseInput randomMouse_{0, 0, 0};
  int holdFor_ = 0;
};

#endif
