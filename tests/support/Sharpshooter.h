// A player for tests that drive the module only through IGame: it looks at
// the picture as a person would, remembers the empty sky of the first frame
// and clicks on whatever differs from it.
#ifndef FLINTMOOR_TESTS_SHARPSHOOTER_H
#define FLINTMOOR_TESTS_SHARPSHOOTER_H

#include <allegro.h>

#include "IGame.h"

class Sharpshooter {
 public:
  // The game must be started; its first frame is taken as the empty sky.
  explicit Sharpshooter(IGame& game);
  ~Sharpshooter();
  Sharpshooter(const Sharpshooter&) = delete;
  Sharpshooter& operator=(const Sharpshooter&) = delete;

  // One frame; when aiming, presses on something in the sky if there is
  // anything (on every fourth frame, so presses are separate clicks).
  // Answers Update's escape report.
  int32_t Frame(bool aiming);

 private:
  bool FindTarget(int& x, int& y) const;

  IGame& game_;
  BITMAP* sky_;
  BITMAP* picture_;
  long frame_ = 0;
};

#endif
