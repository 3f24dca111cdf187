// The validator's mouse input: every edge case first, then play that comes
// back to them, the same for the same seed.
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <tuple>

#include "MouseSequence.h"

namespace {

auto Key(const MouseInput& mouse) {
  return std::make_tuple(mouse.x, mouse.y, mouse.buttons);
}

TEST(MouseSequenceTest, TheFirstFramesPressAndReleaseAtEveryEdge) {
  MouseSequence mouse(1);
  std::set<std::tuple<int32_t, int32_t, int32_t>> seen;
  for (int frame = 0; frame < 200; ++frame) seen.insert(Key(mouse.Next()));
  const int32_t w = kGamePictureWidth, h = kGamePictureHeight;
  for (int32_t x : {0, w - 1, -1, w, INT32_MIN, INT32_MAX}) {
    for (int32_t y : {0, h - 1, -1, h, INT32_MIN, INT32_MAX}) {
      EXPECT_TRUE(seen.count({x, y, 1}) && seen.count({x, y, 0})) << x << ", " << y;
    }
  }
  for (int32_t buttons : {2, -1, INT32_MIN, INT32_MAX}) {
    EXPECT_TRUE(seen.count({w / 2, h / 2, buttons})) << "buttons " << buttons;
  }
}

TEST(MouseSequenceTest, ASeedGivesOnePlayAndOtherSeedsOthers) {
  MouseSequence first(7), again(7), other(8);
  int differ = 0;
  for (int frame = 0; frame < 3000; ++frame) {
    const MouseInput a = first.Next(), b = other.Next();
    EXPECT_EQ(Key(a), Key(again.Next())) << "frame " << frame;
    differ += Key(a) != Key(b);
  }
  EXPECT_GT(differ, 1000);
}

// After the edges, play is mostly on the picture, every seventh frame an
// edge case again.
TEST(MouseSequenceTest, PlayStaysMostlyOnThePicture) {
  MouseSequence mouse(3);
  for (int frame = 0; frame < 200; ++frame) mouse.Next();
  int inside = 0, pressed = 0;
  for (int frame = 200; frame < 3200; ++frame) {
    const MouseInput m = mouse.Next();
    inside += m.x >= 0 && m.x < kGamePictureWidth && m.y >= 0 && m.y < kGamePictureHeight;
    pressed += m.buttons != 0;
  }
  EXPECT_GT(inside, 2000);
  EXPECT_GT(pressed, 300);
  EXPECT_LT(pressed, 2700);
}

}  // namespace
