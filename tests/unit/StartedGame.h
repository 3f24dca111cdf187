// A started game with its clock in the test's hands, for testing frame rules.
#ifndef FLINTMOOR_TESTS_STARTEDGAME_H
#define FLINTMOOR_TESTS_STARTEDGAME_H

#include <gtest/gtest.h>

#include "Flintmoor.h"
#include "FlintmoorProbe.h"
#include "SoundRecorder.h"
#include "TickClock.h"

class StartedGame : public testing::Test {
 protected:
  // The host's colour depth, in which the game makes its buffer and colours.
  virtual int ColourDepth() const { return 32; }

  void SetUp() override {
    set_color_depth(ColourDepth());
    ASSERT_TRUE(game.Init());
    FlintmoorProbe::FreezeClock();
    tickCount = 0;
    PlayedSamples().clear();
  }
  void TearDown() override { game.Shutdown(); }

  // A target placed so that its next move brings it to (x, y).
  Target& Place(int32_t x, int32_t y, int32_t dir = +1, bool hit = false) {
    auto target = std::make_unique<Target>();
    target->x = x - dir;
    target->y = y;
    target->dir = dir;
    target->hit = hit;
    target->frameTick = tickCount;
    probe.targets().push_back(std::move(target));
    return *probe.targets().back();
  }

  // One frame with the mouse at a screen position (twice sky coordinates).
  int32_t Frame(int32_t screenX, int32_t screenY, bool pressed) {
    MouseInput mouse{screenX, screenY, pressed ? 1 : 0};
    return game.Update(0, &mouse);
  }
  int32_t Idle() { return Frame(0, 0, false); }

  Flintmoor game;
  FlintmoorProbe probe{game};
};

#endif
