// Molehill's rules, frame by frame, apart from pictures and sound: when and
// where moles come up, how long they stay, what a click bonks, the score.
// Time is counted in frames (the host's 60 a second).
#ifndef MOLEHILL_MEADOW_H
#define MOLEHILL_MEADOW_H

#include <array>
#include <cstdint>
#include <random>

#include "Field.h"

enum class MoleState : uint8_t {
  kHidden,   // down its hole (resting a while after it was up)
  kRising,   // coming up
  kUp,       // all of it out, looking about
  kBonked,   // dizzy from a bonk, out
  kSinking,  // going down: away with it, unless it was bonked
};

struct Mole {
  MoleState state = MoleState::kHidden;
  int32_t frames = 0;   // frames spent in this state so far
  int32_t stay = 0;     // frames it stays up, set as it comes up
  bool bonked = false;  // it was bonked on this outing
  bool rested = true;   // down long enough to come up again
};

// What a frame did, one bit a hole (bit i for kHoles[i]), for the sounds.
struct FrameEvents {
  bool clicked = false;  // the button went down (bonking or not)
  uint32_t popped = 0;   // a mole started to come up
  uint32_t bonked = 0;   // a click bonked the mole
  uint32_t escaped = 0;  // the mole went down unbonked: it got away
};

class Meadow {
 public:
  // Frames before the first mole, and the pace at the start and at its
  // fastest: frames from one mole coming up to the next, frames a mole stays.
  static constexpr int32_t kFirstPop = 60;
  static constexpr int32_t kFirstInterval = 60, kShortestInterval = 20;
  static constexpr int32_t kFirstStay = 72, kShortestStay = 27;
  // Frames to come up and to go down, to sit dizzy, to rest in the hole.
  static constexpr int32_t kRiseFrames = 6, kSinkFrames = 6;
  static constexpr int32_t kBonkedFrames = 24, kRestFrames = 12;

  explicit Meadow(uint32_t seed);

  // One frame: a press of the button (down now, up the frame before) at
  // (x, y) in field pixels bonks the mole it reaches; then every mole moves
  // on, and one may come up.
  FrameEvents Step(bool buttonDown, int32_t x, int32_t y);

  const Mole& MoleAt(int hole) const { return moles_[size_t(hole)]; }
  // Rows of the mole at a hole that are above its lip: 0 to kMoleHeight.
  int32_t Rise(int hole) const;
  // Bonks since the last mole got away, shown on the field; and the most
  // of them since the meadow was made.
  int32_t Score() const { return score_; }
  int32_t Best() const { return best_; }
  // The pace now: mean frames between moles, frames the next one stays.
  int32_t Interval() const { return interval_; }
  int32_t Stay() const { return stay_; }

 private:
  void Bonk(int32_t x, int32_t y, FrameEvents& events);
  void Move(int hole, FrameEvents& events);
  void PopSomewhere(FrameEvents& events);

  std::array<Mole, kHoleCount> moles_{};
  std::minstd_rand random_;
  int32_t untilPop_ = kFirstPop;
  int32_t interval_ = kFirstInterval;
  int32_t stay_ = kFirstStay;
  int32_t score_ = 0;
  int32_t best_ = 0;
  bool buttonWasDown_ = false;
};

#endif
