// Where the view sits on the screen, and the pointer's place in the picture.
#include <gtest/gtest.h>

#include "View.h"

namespace {

TEST(ViewPlaceTest, TheViewIsCentredOrAtTheTopLeftOfASmallerScreen) {
  const ViewPlace centred(2, 1920, 1080);  // 1280x1000 with the status line
  EXPECT_EQ(centred.left, 320);
  EXPECT_EQ(centred.top, 40);
  const ViewPlace cramped(1, 600, 400);
  EXPECT_EQ(cramped.left, 0);
  EXPECT_EQ(cramped.top, 0);
}

// Rounding down everywhere, so the pixels just left of and above the
// picture are -1, never 0.
TEST(ViewPlaceTest, ScreenPositionsMapToPicturePixelsRoundingDown) {
  const ViewPlace place(3, 1920, 1500);  // exactly the view's size
  auto at = [&](int x, int y) {
    const MouseInput mouse = place.ToPicture(x, y, 5);
    EXPECT_EQ(mouse.buttons, 5);
    return std::make_pair(mouse.x, mouse.y);
  };
  EXPECT_EQ(at(0, 0), std::make_pair(0, 0));
  EXPECT_EQ(at(2, 2), std::make_pair(0, 0));
  EXPECT_EQ(at(3, 5), std::make_pair(1, 1));
  EXPECT_EQ(at(1919, 1439), std::make_pair(639, 479));
  EXPECT_EQ(at(-1, -3), std::make_pair(-1, -1));
  EXPECT_EQ(at(-4, 1440), std::make_pair(-2, 480));
}

TEST(ViewPlaceTest, TheScaleToFitIsTheLargestWholeOne) {
  EXPECT_EQ(View::ScaleToFit(1920, 1080 - 64), 2);
  EXPECT_EQ(View::ScaleToFit(1280, 1000), 2);
  EXPECT_EQ(View::ScaleToFit(1279, 1000), 1);
  EXPECT_EQ(View::ScaleToFit(2560, 1600 - 64), 3);
  EXPECT_EQ(View::ScaleToFit(300, 200), 1) << "never below 1";
}

}  // namespace
