#include "Meadow.h"

#include <algorithm>

Meadow::Meadow(uint32_t seed) : random_(seed) {}

int32_t Meadow::Rise(int hole) const {
  const Mole& mole = MoleAt(hole);
  switch (mole.state) {
    case MoleState::kRising:
      return kMoleHeight * (mole.frames + 1) / kRiseFrames;
    case MoleState::kSinking:
      return kMoleHeight * (kSinkFrames - mole.frames) / kSinkFrames;
    case MoleState::kUp:
    case MoleState::kBonked:
      return kMoleHeight;
    case MoleState::kHidden:
      break;
  }
  return 0;
}

FrameEvents Meadow::Step(bool buttonDown, int32_t x, int32_t y) {
  FrameEvents events;
  // The click meets the moles where the last picture showed them.
  events.clicked = buttonDown && !buttonWasDown_;
  if (events.clicked) Bonk(x, y, events);
  buttonWasDown_ = buttonDown;
  for (int hole = 0; hole < kHoleCount; ++hole) Move(hole, events);
  if (events.escaped != 0) score_ = 0;
  if (--untilPop_ <= 0) PopSomewhere(events);
  return events;
}

void Meadow::Bonk(int32_t x, int32_t y, FrameEvents& events) {
  for (int hole = 0; hole < kHoleCount; ++hole) {
    Mole& mole = moles_[size_t(hole)];
    const bool out = mole.state == MoleState::kRising || mole.state == MoleState::kUp ||
                     mole.state == MoleState::kSinking;
    if (!out || mole.bonked || !InBonkReach(kHoles[hole], x, y)) continue;
    mole.state = MoleState::kBonked;
    mole.frames = 0;
    mole.bonked = true;
    events.bonked |= 1u << hole;
    best_ = std::max(best_, ++score_);
    return;
  }
}

// One frame of a mole's outing, ending each state on time.
void Meadow::Move(int hole, FrameEvents& events) {
  Mole& mole = moles_[size_t(hole)];
  const int32_t frames = ++mole.frames;
  auto next = [&mole](MoleState state) {
    mole.state = state;
    mole.frames = 0;
  };
  switch (mole.state) {
    case MoleState::kHidden:
      mole.rested = mole.rested || frames >= kRestFrames;
      break;
    case MoleState::kRising:
      if (frames >= kRiseFrames) next(MoleState::kUp);
      break;
    case MoleState::kUp:
      if (frames >= mole.stay) next(MoleState::kSinking);
      break;
    case MoleState::kBonked:
      if (frames >= kBonkedFrames) next(MoleState::kSinking);
      break;
    case MoleState::kSinking:
      if (frames < kSinkFrames) break;
      if (!mole.bonked) events.escaped |= 1u << hole;
      next(MoleState::kHidden);
      mole.rested = false;
      break;
  }
}

// A mole comes up at a free hole chosen at random, and the pace quickens;
// with every hole busy, the next free frame is tried.
void Meadow::PopSomewhere(FrameEvents& events) {
  int free[kHoleCount];
  int count = 0;
  for (int hole = 0; hole < kHoleCount; ++hole) {
    const Mole& mole = moles_[size_t(hole)];
    if (mole.state == MoleState::kHidden && mole.rested) free[count++] = hole;
  }
  if (count == 0) return;
  const int hole = free[random_() % uint32_t(count)];
  Mole& mole = moles_[size_t(hole)];
  mole = Mole{MoleState::kRising, 0, stay_, false, false};
  events.popped |= 1u << hole;
  // Around the interval, a quarter of it either way, so the beat can't be
  // learnt.
  untilPop_ = interval_ - interval_ / 4 + int32_t(random_() % uint32_t(interval_ / 2 + 1));
  interval_ = std::max(kShortestInterval, interval_ - 1);
  stay_ = std::max(kShortestStay, stay_ - 1);
}
