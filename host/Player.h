// Where each frame's mouse state comes from: the real mouse, or the
// built-in player that watches the picture and clicks on what moves.
#ifndef FLINTMOOR_HOST_PLAYER_H
#define FLINTMOOR_HOST_PLAYER_H

#include <cstdint>
#include <random>
#include <vector>

#include "IGame.h"

struct BITMAP;

class Player {
 public:
  virtual ~Player() = default;
  // The mouse for the next frame; lastFrame is the picture drawn in the
  // previous one (null before the first).
  virtual MouseInput Next(BITMAP* lastFrame) = 0;
};

// The real mouse. A press and release that both fall between two frames
// still reach the game as one frame with the button down.
class MousePlayer final : public Player {
 public:
  MousePlayer();
  ~MousePlayer() override;
  MouseInput Next(BITMAP* lastFrame) override;
};

// Plays like a person would: it knows nothing of the game, looks at the
// picture for things that are not sky and keep changing, waits a reaction
// time, then clicks near where the thing is now. It misses now and then.
class AutoPlayer final : public Player {
 public:
  explicit AutoPlayer(unsigned seed);
  MouseInput Next(BITMAP* lastFrame) override;

 private:
  struct Spot {
    int x, y;
    bool found;
  };
  // The centre of the busiest cell holding something moving, the nearest to
  // `near` when given.
  Spot FindMovingThing(BITMAP* frame, const Spot* near);

  enum class State { kLooking, kReacting, kPressing } state_ = State::kLooking;
  std::mt19937 random_;
  int countdown_ = 0;
  Spot spotted_{0, 0, false};
  MouseInput mouse_{320, 240, 0};
  std::vector<uint32_t> cellHash_;
  std::vector<int> cellStillFrames_;
  std::vector<int> rowSample_;
};

#endif
