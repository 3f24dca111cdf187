// The frame's picture, read back from a real 640x480 Allegro bitmap.
#include <allegro.h>
#include <gtest/gtest.h>

#include <memory>

#include "Bitmap.h"
#include "Resources.h"
#include "StartedGame.h"

namespace {

// The sky's colour at a buffer row, by the rule the game paints it with:
// single-precision steps added row by row, each sum truncated.
int SkyColour(int row) {
  float r = 100, g = 160, b = 255;
  for (int i = 0; i <= row; ++i) {
    r += 96.0f / 240.0f;
    g += 80.0f / 240.0f;
    b += -15.0f / 240.0f;
  }
  return makecol(int(r), int(g), int(b));
}

class DrawTest : public StartedGame, public testing::WithParamInterface<int> {
 protected:
  int ColourDepth() const override { return GetParam(); }

  Bitmap Render() {
    Bitmap picture(create_bitmap(640, 480));
    clear_to_color(picture.get(), makecol(255, 255, 255));
    game.Draw(picture.get());
    return picture;
  }

  BITMAP* Picture(int index) { return static_cast<BITMAP*>(probe.data()[index].dat); }

  // Every pixel of `drawn` matches `sky` except where the sprite covers the
  // buffer at (x, y), where it shows the sprite's own opaque pixels, doubled.
  void ExpectSpriteOver(BITMAP* sky, BITMAP* drawn, BITMAP* sprite, int x, int y, bool mirrored) {
    int differences = 0;
    for (int dy = 0; dy < 480; ++dy) {
      for (int dx = 0; dx < 640; ++dx) {
        int sx = dx / 2 - x, sy = dy / 2 - y;
        int expected = getpixel(sky, dx, dy);
        if (sx >= 0 && sx < 24 && sy >= 0 && sy < 24) {
          int pixel = getpixel(sprite, mirrored ? 23 - sx : sx, sy);
          if (pixel != bitmap_mask_color(sprite)) expected = pixel;
        }
        if (getpixel(drawn, dx, dy) != expected && ++differences <= 5) {
          ADD_FAILURE() << "pixel (" << dx << ", " << dy << ") differs";
        }
      }
    }
    EXPECT_EQ(differences, 0);
  }

  // Columns (screen pixels) that differ between two pictures.
  static int DifferingColumns(BITMAP* a, BITMAP* b) {
    int columns = 0;
    for (int x = 0; x < 640; ++x) {
      for (int y = 0; y < 480; ++y) {
        if (getpixel(a, x, y) != getpixel(b, x, y)) {
          ++columns;
          break;
        }
      }
    }
    return columns;
  }
};

TEST_P(DrawTest, SkyRowsAreGradedAndDoubled) {
  Bitmap picture = Render();
  EXPECT_EQ(SkyColour(0), makecol(100, 160, 254));
  EXPECT_EQ(SkyColour(239), makecol(195, 239, 240));
  for (int row : {0, 1, 17, 60, 119, 120, 200, 238, 239}) {
    for (int x : {300, 639}) {  // right of the score line
      EXPECT_EQ(getpixel(picture.get(), x, 2 * row), SkyColour(row)) << "row " << row;
      EXPECT_EQ(getpixel(picture.get(), x, 2 * row + 1), SkyColour(row)) << "row " << row;
    }
  }
}

TEST_P(DrawTest, SuccessiveFramesGiveTheSamePicture) {
  Bitmap first = Render();
  Bitmap second = Render();
  EXPECT_EQ(DifferingColumns(first.get(), second.get()), 0);
}

TEST_P(DrawTest, TargetsShowTheirFrameHitStateAndDirection) {
  Bitmap sky = Render();
  struct Case {
    int frame;
    bool hit;
    int dir;
    int picture;
  };
  const Case cases[] = {{0, false, +1, 0}, {1, false, +1, 1}, {0, true, +1, 2},
                        {1, true, +1, 3},  {0, false, -1, 0}, {1, true, -1, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "frame " << c.frame << " hit " << c.hit << " dir " << c.dir);
    probe.targets().clear();
    Target& target = Place(150, 90, c.dir, c.hit);
    target.x = 150;
    target.frame = c.frame;
    Bitmap drawn = Render();
    ExpectSpriteOver(sky.get(), drawn.get(), Picture(c.picture), 150, 90, c.dir < 0);
  }
}

TEST_P(DrawTest, TargetsBeyondTheEdgesAreClipped) {
  Bitmap sky = Render();
  for (int x : {-24, 344}) {
    probe.targets().clear();
    Place(x, 100).x = x;
    Bitmap drawn = Render();
    EXPECT_EQ(DifferingColumns(sky.get(), drawn.get()), 0) << "x = " << x;
  }
  probe.targets().clear();
  Place(-23, 100).x = -23;
  Bitmap drawn = Render();
  EXPECT_EQ(DifferingColumns(sky.get(), drawn.get()), 2) << "one sky column, doubled";
  ExpectSpriteOver(sky.get(), drawn.get(), Picture(0), -23, 100, false);
}

TEST_P(DrawTest, ScoreLineChangesWithTheScore) {
  Bitmap zero = Render();
  probe.score() = 1234;
  Bitmap more = Render();
  int changed = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      if (getpixel(zero.get(), x, y) == getpixel(more.get(), x, y)) continue;
      ++changed;
      // Only the digits change, inside the text rows at the top left.
      ASSERT_GE(y, 2);
      ASSERT_LT(y, 2 + 2 * text_height(font));
      ASSERT_LT(x, 2 * text_length(font, "Score: 1234"));
    }
  }
  EXPECT_GT(changed, 0);
  // The text is black, over the sky.
  EXPECT_EQ(getpixel(zero.get(), 0, 0), SkyColour(0));
  bool blackFound = false;
  for (int x = 0; x < 2 * text_length(font, "Score: 0") && !blackFound; ++x) {
    for (int y = 2; y < 2 + 2 * text_height(font); ++y) {
      blackFound |= getpixel(zero.get(), x, y) == makecol(0, 0, 0);
    }
  }
  EXPECT_TRUE(blackFound);
}

TEST_P(DrawTest, LargerDestinationIsPaintedOnlyAtItsTopLeft) {
  Bitmap large(create_bitmap(700, 520));
  const int untouched = makecol(255, 255, 255);
  clear_to_color(large.get(), untouched);
  game.Draw(large.get());
  EXPECT_EQ(getpixel(large.get(), 639, 479), SkyColour(239));
  for (int y = 0; y < 520; ++y) ASSERT_EQ(getpixel(large.get(), 640, y), untouched);
  for (int x = 0; x < 700; ++x) ASSERT_EQ(getpixel(large.get(), x, 480), untouched);
}

INSTANTIATE_TEST_SUITE_P(Depths, DrawTest, testing::Values(32, 16, 24, 15),
                         [](const testing::TestParamInfo<int>& info) {
                           return std::to_string(info.param) + "bpp";
                         });

}  // namespace
