// gamehost as a person plays it, in a real window under X with the real
// pointer and keyboard, the screen read back as they would see it.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

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
  EXPECT_TRUE(GameShows(*window)) << "a click starts a round";
  ASSERT_TRUE(host.WaitFor("round 1: best score 0, 1 escapes", 20)) << host.Output();
  Wait(300);
  EXPECT_FALSE(Corner(*window) == kFirstSkyRow) << "the results, not the game";

  Wait(500);  // a click right after the round's end is no answer
  ClickMouse();
  EXPECT_TRUE(GameShows(*window)) << "a click starts another round";
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
  ASSERT_TRUE(GameHidden(*window)) << "paused";
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
  EXPECT_TRUE(GameShows(*window)) << "resumed";
  {
    OtherWindowFocused elsewhere;
    EXPECT_TRUE(GameHidden(*window));
    EXPECT_EQ(Corner(*window), dimmed) << "paused when the player turned to another window";
  }
  Focus(*window);
  Wait(300);  // the focus events settle before the key
  PressKey("p");
  EXPECT_TRUE(GameShows(*window)) << "resumed";
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
  // The panels' icon is set once the window is up, a moment after it shows.
  WindowLook look = LookOf(*window);
  for (int i = 0; i < 100 && look.netIconValues == 0; ++i) {
    Wait(50);
    look = LookOf(*window);
  }
  EXPECT_EQ(look.className, "gamehost");
  // The game's 32x32 icon.bmp, not Allegro's own 48x48 picture, both as the
  // window manager's pixmap and as today's panels read it.
  EXPECT_EQ(look.iconWidth, 32);
  EXPECT_EQ(look.iconHeight, 32);
  EXPECT_EQ(look.netIconWidth, 32);
  EXPECT_EQ(look.netIconHeight, 32);
  EXPECT_EQ(look.netIconValues, 2 + 32 * 32);
  // Its first pixel is the patch of sky behind the bird.
  EXPECT_EQ(look.netIconFirstOpaque, 0x64A0FEu) << std::hex << look.netIconFirstOpaque;
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
    command +=
        " & xdotool search --sync --name \"" + kFlintmoorTitle + "\" getwindowgeometry; wait'";
    Outcome run = RunCommand(command);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(Says(run, "Geometry: " + c.geometry)) << c.screen << " " << c.options << ":\n"
                                                      << run.output;
  }
}

// A person turns to another window on the start screen and comes back:
// the round they start is played, not paused on a black picture.
TEST_F(SessionTest, TurningAwayOnAScreenNeverStartsARoundPaused) {
  WindowManager desktop;
  HostProcess host("--escapes 1 --fps 120", Environment());
  auto window = FindWindow(kFlintmoorTitle);
  ASSERT_TRUE(window) << host.Output();
  for (int round = 1; round <= 2; ++round) {
    {
      OtherWindowFocused elsewhere;
      Wait(300);
    }
    Focus(*window);
    MoveMouse(*window, 320, 240);
    Wait(round == 1 ? 300 : 700);  // the results take no click for a moment
    ClickMouse();
    EXPECT_TRUE(GameShows(*window)) << "round " << round << " is played, not paused";
    ASSERT_TRUE(host.WaitFor("round " + std::to_string(round) + ":", 20)) << host.Output();
  }
  PressKey(*window, "Escape");
  EXPECT_EQ(host.Wait(kExitSeconds), 0) << host.Output();
}

// What the player does while paused is not for the game: the click that
// resumes (after turning away, say) is no shot, and later clicks are.
TEST_F(SessionTest, AClickResumesAPausedRoundAndIsNoShot) {
  WindowManager desktop;
  HostProcess host("--verbose --frames 480 --escapes 0", Environment());
  auto window = FindWindow(kFlintmoorTitle);
  ASSERT_TRUE(window) << host.Output();
  ASSERT_TRUE(GameShows(*window));
  MoveMouse(*window, 200, 200);
  for (const char* how : {"P", "turning to another window"}) {
    if (std::string(how) == "P") {
      PressKey(*window, "p");
    } else {
      OtherWindowFocused elsewhere;
      Wait(300);
    }
    EXPECT_TRUE(GameHidden(*window)) << "paused by " << how;
    ClickMouse();
    EXPECT_TRUE(GameShows(*window)) << "a click resumes after " << how;
    EXPECT_EQ(host.Output().find("press at"), std::string::npos)
        << "the resuming click reached the game:\n"
        << host.Output();
  }
  ClickMouse();
  EXPECT_TRUE(host.WaitFor("press at (200, 200)", 5)) << "a click in play is a shot";
  EXPECT_EQ(host.Wait(kExitSeconds), 0) << host.Output();
}

// The status line's record follows the round as it beats the kept one
// (the test game scores a point a frame).
TEST_F(SessionTest, TheStatusLineShowsTheRecordAsTheRoundRaisesIt) {
  WriteScores("Test Game\t30\n");
  HostProcess host(kTestGame + " --frames 600 --escapes 0", Environment());
  auto window = FindWindow(kTestGameTitle);
  ASSERT_TRUE(window) << host.Output();
  auto statusLeft = [&] {
    ScreenPixels screen;
    std::vector<Rgb> pixels;
    for (int y = 480; y < 500; ++y) {
      for (int x = 0; x < 160; ++x) pixels.push_back(screen.At(window->x + x, window->y + y));
    }
    return pixels;
  };
  Wait(200);  // under 30 frames: "Record 30"
  const auto early = statusLeft();
  Wait(1500);  // past 30: the round's score is the record now
  const auto late = statusLeft();
  EXPECT_NE(early, late) << "the record did not follow the round";
  EXPECT_EQ(host.Wait(kExitSeconds), 0) << host.Output();
}

// The crosshair is where the pointer is over the picture, and nowhere
// else: not left at the edge when the pointer goes, not in the middle
// when it was never there.
TEST_F(SessionTest, TheCrosshairShowsOnlyWhileThePointerIsOverThePicture) {
  const Rgb white{255, 255, 255};
  RunCommand("xdotool mousemove 1010 760");  // outside where the window opens
  HostProcess host("--frames 400 --escapes 0", Environment());
  auto window = FindWindow(kFlintmoorTitle);
  ASSERT_TRUE(window) << host.Output();
  ASSERT_TRUE(GameShows(*window));
  Wait(200);
  EXPECT_FALSE(ScreenPixels().At(window->x + 320, window->y + 240 - 6) == white)
      << "a crosshair in the middle, though the pointer never came";
  MoveMouse(*window, 630, 240);
  Wait(300);
  EXPECT_EQ(ScreenPixels().At(window->x + 630, window->y + 240 - 6), white) << "over the picture";
  RunCommand("xdotool mousemove 1010 760");
  Wait(300);
  ScreenPixels left;
  int leftBehind = 0;
  for (int x = 600; x < 640; ++x) {
    for (int y = 226; y < 255; ++y) leftBehind += left.At(window->x + x, window->y + y) == white;
  }
  EXPECT_EQ(leftBehind, 0) << "white pixels of a crosshair left at the picture's edge";
  EXPECT_EQ(host.Wait(kExitSeconds), 0) << host.Output();
}

// The start screen says how a round goes: the rules line follows --escapes,
// and nothing else on the screen changes with it.
TEST_F(SessionTest, TheStartScreenStatesHowARoundEnds) {
  std::vector<std::vector<Rgb>> screens;
  for (const char* escapes : {"1", "10"}) {
    HostProcess host(std::string("--escapes ") + escapes, Environment());
    auto window = FindWindow(kFlintmoorTitle);
    ASSERT_TRUE(window) << host.Output();
    Wait(500);
    ScreenPixels screen;
    std::vector<Rgb> pixels;
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) pixels.push_back(screen.At(window->x + x, window->y + y));
    }
    screens.push_back(pixels);
    PressKey(*window, "Escape");
    EXPECT_EQ(host.Wait(kExitSeconds), 0) << host.Output();
  }
  int first = -1, last = -1;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      if (screens[0][size_t(y) * 640 + size_t(x)] == screens[1][size_t(y) * 640 + size_t(x)]) {
        continue;
      }
      if (first < 0) first = y;
      last = y;
    }
  }
  ASSERT_GE(first, 0) << "the start screen does not say how many escapes end a round";
  EXPECT_LE(last - first, 8) << "one line of text, not rows " << first << " to " << last;
}

TEST_F(SessionTest, QuittingFromTheStartScreenSaysNoRoundWasPlayed) {
  WriteScores("Flintmoor\t17\n");
  HostProcess host("", Environment());
  auto window = FindWindow(kFlintmoorTitle);
  ASSERT_TRUE(window) << host.Output();
  Wait(300);
  PressKey(*window, "Escape");
  EXPECT_EQ(host.Wait(kExitSeconds), 0) << host.Output();
  EXPECT_TRUE(Says({0, host.Output()}, "no round played; record 17")) << host.Output();
  EXPECT_FALSE(Says({0, host.Output()}, "best score 0")) << host.Output();
}

TEST_F(SessionTest, AScaleTooLargeForTheDesktopIsRefusedNamingOneThatFits) {
  const std::string withDisplay = std::string(FLINTMOOR_SOURCE_DIR) + "/tools/with-display";
  Outcome run = RunCommand("env -u DISPLAY XVFB_SCREEN=1280x800x24 " + Environment() + " " +
                           withDisplay + " " + FLINTMOOR_GAMEHOST_PATH + " --frames 30 --scale 3");
  EXPECT_EQ(run.status, 2) << run.output;
  EXPECT_TRUE(Says(run, "--scale 3 needs 1920x1500")) << run.output;
  EXPECT_TRUE(Says(run, "the largest that fits is --scale 1")) << run.output;
}

}  // namespace
