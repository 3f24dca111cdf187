// gamehost as a person plays it, in a real window under X with the real
// pointer and keyboard, the screen read back as they would see it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Command.h"
#include "SessionFixture.h"

namespace {

TEST_F(SessionTest, APersonPlaysRoundsFromTheStartScreenToQuitting) {
  // Fast birds and one escape a round keep the rounds short.
  HostProcess host(kFlintmoor + " --escapes 1 --fps 120", Environment());
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

  Wait(1200);  // the results take no click for their first second
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

// (That a paused game is not updated, to the frame, is the session's unit
// test's; here, what a player sees of it.)
TEST_F(SessionTest, PauseStopsTheGameAndDimsItsLastPicture) {
  // Frames enough to outlast the test on any machine: it ends with Esc.
  HostProcess host("--frames 36000 --escapes 0", Environment());
  auto window = FindWindow(kFlintmoorTitle);
  ASSERT_TRUE(window) << host.Output();
  // The pointer over the picture's middle, as a player's is: where an
  // earlier test left it, its crosshair could cover the corner looked at.
  // With no window manager the keys go where the pointer is; giving the
  // window the focus instead would take it from the pointer first, which
  // gamehost rightly takes for the player turning away, and pauses.
  MoveMouse(*window, 320, 240);
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
  // The other window gone, the focus is the pointer's again.
  PressKey("p");
  EXPECT_TRUE(GameShows(*window)) << "resumed";
  EXPECT_EQ(QuitWith(host, *window, "Escape"), 0) << host.Output();
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
  HostProcess host(kFlintmoor + " --escapes 1 --fps 120", Environment());
  auto window = FindWindow(kFlintmoorTitle);
  ASSERT_TRUE(window) << host.Output();
  for (int round = 1; round <= 2; ++round) {
    {
      OtherWindowFocused elsewhere;
      Wait(300);
    }
    Focus(*window);
    MoveMouse(*window, 320, 240);
    Wait(round == 1 ? 300 : 1200);  // the results take no click for their first second
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

// The crosshair is where the pointer is over the picture, and nowhere
// else: not left at the edge when the pointer goes, not in the middle
// when it was never there. Elsewhere over the window (the status line) the
// system's own pointer shows: the player never loses it.
TEST_F(SessionTest, ThePointerShowsEverywhereAndTheCrosshairOnlyOverThePicture) {
  const Rgb white{255, 255, 255};
  RunCommand("xdotool mousemove 1010 760");  // outside where the window opens
  HostProcess host("--frames 600 --escapes 0", Environment());
  auto window = FindWindow(kFlintmoorTitle);
  ASSERT_TRUE(window) << host.Output();
  ASSERT_TRUE(GameShows(*window));
  Wait(200);
  EXPECT_FALSE(ScreenPixels().At(window->x + 320, window->y + 240 - 6) == white)
      << "a crosshair in the middle, though the pointer never came";
  MoveMouse(*window, 630, 240);
  EXPECT_TRUE(Eventually([&] {
    return ScreenPixels().At(window->x + 630, window->y + 240 - 6) == white;
  })) << "over the picture";
  EXPECT_TRUE(Eventually([] { return !SystemPointerShown(); })) << "two pointers at once";
  MoveMouse(*window, 320, 490);  // the status line
  EXPECT_TRUE(Eventually(SystemPointerShown)) << "no pointer over the status line";
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

// Esc held down in a round is one press: it ends the round, and the
// results stay (the key's repeats do not quit too).
TEST_F(SessionTest, EscHeldDownEndsTheRoundOnly) {
  // Frames enough to outlast the test on any machine: it ends with Esc.
  HostProcess host("--frames 36000 --escapes 0", Environment());
  auto window = FindWindow(kFlintmoorTitle);
  ASSERT_TRUE(window) << host.Output();
  MoveMouse(*window, 320, 240);
  ClickMouse();
  ASSERT_TRUE(GameShows(*window)) << "a click starts a round";
  HoldKey(*window, "Escape", 1200);
  ASSERT_TRUE(host.WaitFor("round 1:", 10)) << host.Output();
  Wait(500);
  EXPECT_EQ(host.Wait(0.1), -1) << "gamehost quit on the key's repeats\n" << host.Output();
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
