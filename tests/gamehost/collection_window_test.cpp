// The collection as a person meets it on a desktop: games chosen with the
// keyboard and the mouse, played and left, a game that crashes bringing
// the player back in the same place, and Esc, Esc quitting. The window's
// title names what it shows.
#include <csignal>
#include <string>

#include "CollectionFolder.h"
#include "Command.h"
#include "SessionFixture.h"

namespace {

const std::string kCollection = "gamehost";
// The list's backdrop at its top: the window shows the list, not the black
// of a window just opened, whose keys the list forgets as it starts.
const Rgb kListTopRow{14, 18, 36};

class CollectionWindowTest : public SessionTest {
 protected:
  std::string Environment() const {
    return SessionTest::Environment() + " XDG_CACHE_HOME=" + data_.Path();
  }
  CollectionFolder folder_;
};

TEST_F(CollectionWindowTest, APersonChoosesPlaysAndLeavesGamesAndACrashComesBack) {
  WindowManager desktop;
  HostProcess host(folder_.Path(), Environment());
  auto list = FindWindow(kCollection);
  ASSERT_TRUE(list && CornerShows(*list, kListTopRow)) << host.Output();
  const int scale = list->width / 640;

  ASSERT_TRUE(PressUntil(*list, "Home Return", "Balloons 1.0"))
      << "Home, Enter plays the first game\n"
      << host.Output();
  auto game = FindWindow("Balloons 1.0");
  ASSERT_TRUE(game) << host.Output();
  EXPECT_EQ(game->id, list->id) << "the same window";
  ASSERT_TRUE(PressUntil(*game, "Escape", kCollection)) << "Esc goes back to the list\n"
                                                        << host.Output();

  // Flintmoor's row, the third: pointing selects it, a click plays it.
  MoveMouse(*list, 320 * scale, (44 + 2 * 50 + 25) * scale);
  Wait(200);
  ClickMouse();
  game = FindWindow("Flintmoor " FLINTMOOR_VERSION, 10);
  ASSERT_TRUE(game) << "a click plays the game under the pointer\n" << host.Output();
  ASSERT_TRUE(PressUntil(*game, "Escape", kCollection)) << host.Output();
  list = FindWindow(kCollection);
  ASSERT_TRUE(list && CornerShows(*list, kListTopRow)) << host.Output();

  ASSERT_TRUE(PressUntil(*list, "End Return", "Tumbler 1.0")) << host.Output();
  game = FindWindow("Tumbler 1.0");
  ASSERT_TRUE(game) << host.Output();
  MoveMouse(*game, 320 * scale, 240 * scale);
  // A round, which the game crashes at its 100th frame: clicked again until
  // it does, as the start screen takes a click once it is up (a click in
  // the round is a shot).
  bool crashed = false;
  for (int tries = 0; tries < 8 && !crashed; ++tries) {
    ClickMouse();
    crashed = host.WaitFor("Crashed with signal 11 (Segmentation fault) in Tumbler's Update", 3);
  }
  ASSERT_TRUE(crashed) << host.Output();
  const auto back = FindWindow(kCollection, 10);
  ASSERT_TRUE(back) << "the list came back\n" << host.Output();
  EXPECT_EQ(back->x, game->x) << "where the window was";
  EXPECT_EQ(back->y, game->y);

  EXPECT_EQ(QuitWith(host, *back, "Escape"), 0) << "Esc quits\n" << host.Output();
}

TEST_F(CollectionWindowTest, AStopSignalEndsItAsItEndsAnyProgram) {
  HostProcess host(folder_.Path(), Environment());
  ASSERT_TRUE(FindWindow(kCollection)) << host.Output();
  host.Signal(SIGTERM);
  EXPECT_EQ(host.Wait(kExitSeconds), 128 + SIGTERM) << host.Output();
}

}  // namespace
