#include "MouseSequence.h"

#include <cstdint>

MouseSequence::MouseSequence(unsigned seed) : random_(seed) {
  constexpr int32_t w = kGamePictureWidth, h = kGamePictureHeight;
  const int32_t xs[] = {0, 1, w / 2, w - 2, w - 1, -1, w, INT32_MIN, INT32_MAX};
  const int32_t ys[] = {0, 1, h / 2, h - 2, h - 1, -1, h, INT32_MIN, INT32_MAX};
  for (int32_t x : xs) {
    for (int32_t y : ys) {
      edges_.push_back({x, y, 1});
      edges_.push_back({x, y, 0});
    }
  }
  for (int32_t buttons : {2, 4, 7, -1, INT32_MIN, INT32_MAX}) edges_.push_back({320, 240, buttons});
  edges_.push_back({320, 240, 0});
}

MouseInput MouseSequence::Next() {
  const size_t frame = frame_++;
  if (frame < edges_.size()) return edges_[frame];
  if (frame % 7 == 0) return edges_[(frame / 7) % edges_.size()];
  return Random();
}

// As players and broken hosts give it: mostly on the screen, sometimes far
// outside it, buttons held for a moment or for a long time.
MouseInput MouseSequence::Random() {
  if (holdFor_ > 0) {
    --holdFor_;
  } else if (random_() % 10 == 0) {
    holdFor_ = random_() % 5 == 0 ? 300 : 1 + int(random_() % 10);
    randomMouse_.buttons = randomMouse_.buttons ? 0 : 1 + int32_t(random_() % 7);
  }
  if (random_() % 20 == 0) {
    randomMouse_.x = int32_t(random_());
    randomMouse_.y = int32_t(random_());
  } else {
    randomMouse_.x = int32_t(random_() % kGamePictureWidth);
    randomMouse_.y = int32_t(random_() % kGamePictureHeight);
  }
  return randomMouse_;
}
