// gamehost as a person plays it, in a real window under X with the real
// pointer and keyboard, the screen read back as they would see it.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "Command.h"
#include "SessionFixture.h"

namespace {

long FramesPlayed(const std::string& output) {
  std::smatch match;
  if (!std::regex_search(output, match, std::regex("escapes in (\\d+) frames"))) return -1;
  return std::stol(match[1]);
}

TEST_F(SessionTest, APersonPlaysRoundsFromTheStartScreenToQuitting) {
  // Fast birds and one escape a round keep the rounds short.
  HostProcess host("--escapes 1 --fps 120", Environment());
  auto window = FindWindow(kFlintmoorTitle);
  ASSERT_TRUE(window) << host.Output();
  Wait(300);
  EXPECT_FALSE(Corner(*window) == kFirstSkyRow) << "the start screen, not the game";

  MoveMouse(*window, 320, 240);
  ClickMouse();
  Wait(400);
  EXPECT_EQ(Corner(*window), kFirstSkyRow) << "a click starts a round";
  ASSERT_TRUE(host.WaitFor("round 1: best score 0, 1 escapes", 20)) << host.Output();
  Wait(300);
  EXPECT_FALSE(Corner(*window) == kFirstSkyRow) << "the results, not the game";

  Wait(500);  // a click right after the round's end is no answer
  ClickMouse();
  Wait(400);
  EXPECT_EQ(Corner(*window), kFirstSkyRow) << "a click starts another round";
  PressKey("Escape");  // ends the round
  ASSERT_TRUE(host.WaitFor("round 2: best score 0", 5)) << host.Output();
  PressKey("Escape");  // quits
  EXPECT_EQ(host.Wait(kExitSeconds), 0) << host.Output();
  EXPECT_TRUE(Says({0, host.Output()}, "best score 0, 1 escapes in ")) << host.Output();
}

TEST_F(SessionTest, TheCrosshairFollowsTheMouseAndStaysOutOfScreenshots) {
  const std::string shot = data_.Path() + "/shot.png";
  HostProcess host("--frames 180 --escapes 0 --screenshot " + shot, Environment());
  auto window = FindWindow(kFlintmoorTitle);
  ASSERT_TRUE(window) << host.Output();
  ASSERT_TRUE(GameShows(*window));
  const Rgb white{255, 255, 255}, black{0, 0, 0};
  for (auto [x, y] : {std::pair{200, 150}, std::pair{420, 330}}) {
    MoveMouse(*window, x, y);
    Wait(300);
    ScreenPixels screen;
    const int left = window->x + x, top = window->y + y;
    EXPECT_EQ(screen.At(left, top - 6), white) << "the arm above (" << x << ", " << y << ")";
    EXPECT_EQ(screen.At(left + 6, top), white) << "the arm to the right";
    EXPECT_EQ(screen.At(left + 1, top - 6), black) << "its outline";
    EXPECT_FALSE(screen.At(left, top) == white) << "an open centre to aim through";
  }
  ScreenPixels now;
  EXPECT_FALSE(now.At(window->x + 200, window->y + 144) == white) << "gone from where it was";
  EXPECT_EQ(host.Wait(kExitSeconds), 0) << host.Output();

  Outcome reread = RunCommand("test -s " + shot);
  EXPECT_EQ(reread.status, 0) << "no screenshot";
}

TEST_F(SessionTest, PauseStopsTheGameAndDimsItsLastPicture) {
  HostProcess host("--frames 600 --escapes 0", Environment());
  auto window = FindWindow(kFlintmoorTitle);
  ASSERT_TRUE(window) << host.Output();
  ASSERT_TRUE(GameShows(*window));
  Wait(300);
  PressKey("p");
  Wait(300);
  Rgb dimmed = Corner(*window);
  EXPECT_NEAR(dimmed.r, kFirstSkyRow.r / 2.0, 1);
  EXPECT_NEAR(dimmed.g, kFirstSkyRow.g / 2.0, 1);
  EXPECT_NEAR(dimmed.b, kFirstSkyRow.b / 2.0, 1);
  ScreenPixels early;
  Wait(3000);
  ScreenPixels late;
  int changed = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      changed += !(early.At(window->x + x, window->y + y) == late.At(window->x + x, window->y + y));
    }
  }
  EXPECT_EQ(changed, 0) << "nothing moves while paused";
  PressKey("p");
  Wait(300);
  EXPECT_EQ(Corner(*window), kFirstSkyRow) << "resumed";
  {
    OtherWindowFocused elsewhere;
    Wait(300);
    EXPECT_EQ(Corner(*window), dimmed) << "paused when the player turned to another window";
  }
  Focus(*window);
  Wait(300);  // the focus events settle before the key
  PressKey("p");
  Wait(300);
  EXPECT_EQ(Corner(*window), kFirstSkyRow) << "resumed";
  ASSERT_EQ(host.Wait(kExitSeconds), 0) << host.Output();
  // 600 frames were shown; over 3 s of them paused, without Update (a busy
  // machine shows fewer than 60 a second, so allow for 2 s).
  long played = FramesPlayed(host.Output());
  EXPECT_GT(played, 100) << host.Output();
  EXPECT_LT(played, 600 - 120) << host.Output();
}

TEST_F(SessionTest, TheWindowShowsTheGamesIconAndNamesGamehost) {
  HostProcess host("--frames 60", Environment());
  auto window = FindWindow(kFlintmoorTitle);
  ASSERT_TRUE(window) << host.Output();
  WindowLook look = LookOf(*window);
  EXPECT_EQ(look.className, "gamehost");
  // The game's 32x32 icon.bmp, not Allegro's own 48x48 picture.
  EXPECT_EQ(look.iconWidth, 32);
  EXPECT_EQ(look.iconHeight, 32);
  EXPECT_EQ(host.Wait(kExitSeconds), 0) << host.Output();
}

// The window takes the largest whole-number scale of the game (and its
// status line) that fits the desktop, or the one asked for.
TEST_F(SessionTest, TheWindowScalesToTheDesktopOrAsAsked) {
  struct Case {
    std::string screen, options, geometry;
  };
  const Case cases[] = {
      {"1024x768x24", "", "640x500"},           {"1920x1080x24", "", "1280x1000"},
      {"1920x1080x24", "--scale 1", "640x500"}, {"2560x1600x24", "--scale 2", "1280x1000"},
      {"2560x1600x24", "", "1920x1500"},
  };
  const std::string withDisplay = std::string(FLINTMOOR_SOURCE_DIR) + "/tools/with-display";
  for (const Case& c : cases) {
    // A private screen of that size, the game, and the window's size.
    std::string command = "env -u DISPLAY XVFB_SCREEN=" + c.screen;
    command += " " + Environment() + " " + withDisplay + " sh -c '";
    command += std::string(FLINTMOOR_GAMEHOST_PATH) + " --frames 60 " + c.options;
    command += " & xdotool search --sync --name \"" + kFlintmoorTitle + "\" getwindowgeometry; wait'";
    Outcome run = RunCommand(command);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(Says(run, "Geometry: " + c.geometry)) << c.screen << " " << c.options << ":\n"
                                                      << run.output;
  }
}

}  // namespace
