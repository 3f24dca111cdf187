// gamehost from the outside: as a player, a demo and a host author meet it.
#include <allegro.h>
#include <gtest/gtest.h>
#include <loadpng.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>

#include "Command.h"
#include "Version.h"
#include "WorkingFolder.h"

namespace fs = std::filesystem;

namespace {

const std::string kGamehost = FLINTMOOR_GAMEHOST_PATH;

int BestScore(const std::string& output) {
  std::smatch match;
  if (!std::regex_search(output, match, std::regex("best score (-?\\d+)"))) return -1;
  return std::stoi(match[1]);
}

TEST(HostTest, AutoplayScoresAndSavesTheSkyItDrew) {
  WorkingFolder shots;
  std::string shot = shots.Path() + "/flintmoor.png";
  // Run from the build folder, where games/ is.
  Outcome demo =
      RunCommand("cd " + fs::path(kGamehost).parent_path().string() + " && " + kGamehost +
                 " --autoplay --fps 120 --frames 1200 --seed 3 --screenshot " + shot);
  ASSERT_EQ(demo.status, 0) << demo.output;
  EXPECT_GT(BestScore(demo.output), 0) << demo.output;

  register_png_file_type();
  set_color_depth(32);
  BITMAP* picture = load_bitmap(shot.c_str(), nullptr);
  ASSERT_NE(picture, nullptr) << shot;
  EXPECT_EQ(picture->w, 640);
  EXPECT_EQ(picture->h, 480);
  // Right of the score line, the top rows are the first sky row, doubled.
  for (int y : {0, 1}) {
    int pixel = getpixel(picture, 639, y);
    EXPECT_EQ(getr(pixel), 100);
    EXPECT_EQ(getg(pixel), 160);
    EXPECT_EQ(getb(pixel), 254);
  }
  int bottom = getpixel(picture, 639, 479);
  EXPECT_EQ(getr(bottom), 195);
  EXPECT_EQ(getb(bottom), 240);
  destroy_bitmap(picture);
}

TEST(HostTest, InfoNamesTheGameAndItsIcon) {
  // A bare file name, from the module's folder: the icon is still found.
  Outcome info = RunCommand("cd " + fs::path(kGamehost).parent_path().string() + " && " +
                            kGamehost + " --info flintmoor.so");
  ASSERT_EQ(info.status, 0) << info.output;
  EXPECT_NE(info.output.find("Name: Flintmoor\n"), std::string::npos);
  EXPECT_NE(info.output.find("Author: Vandrel\n"), std::string::npos);
  EXPECT_NE(info.output.find("Version: " FLINTMOOR_VERSION "\n"), std::string::npos);
  std::smatch icon;
  ASSERT_TRUE(std::regex_search(info.output, icon, std::regex("Icon: (.*)\n")));
  EXPECT_TRUE(fs::path(icon[1].str()).is_absolute()) << icon[1];
  EXPECT_TRUE(fs::exists(icon[1].str())) << icon[1];
}

// Started in another folder (the source tree, which has no games/ folder),
// gamehost still finds the built module's resources. (The validator's test
// validates the module from there.)
TEST(HostTest, PlaysFromTheSourceTree) {
  Outcome played = RunCommand(std::string("cd ") + FLINTMOOR_SOURCE_DIR + " && " + kGamehost +
                              " --autoplay --frames 30");
  EXPECT_EQ(played.status, 0) << played.output;
}

// Each way of failing says what went wrong, what to do, and exits with its
// own status.
TEST(HostTest, FailuresSayWhatWentWrongWithTheirOwnStatus) {
  WorkingFolder empty;
  fs::copy_file(FLINTMOOR_MODULE_PATH, empty.Path() + "/flintmoor.so");
  struct Case {
    std::string arguments;
    int status;
    std::string says;
  };
  const Case cases[] = {
      {"--bogus", 2, "unexpected '--bogus'"},  // how each is refused: the unit tests
      {"missing.so", 3, "no game module at 'missing.so'"},
      {"/etc/hostname", 3, "can't load '/etc/hostname'"},
      {FLINTMOOR_NO_ENTRY_MODULE, 4, "exports no GetPlugin"},
      {"flintmoor.so --frames 5", 6,
       "there is no games/flintmoor/ folder beside the module (in " + empty.Path() + ")"},
  };
  for (const Case& c : cases) {
    Outcome outcome = RunCommand(kGamehost + " " + c.arguments);
    EXPECT_EQ(outcome.status, c.status) << c.arguments << ": " << outcome.output;
    EXPECT_NE(outcome.output.find(c.says), std::string::npos)
        << c.arguments << ": " << outcome.output;
    EXPECT_EQ(std::count(outcome.output.begin(), outcome.output.end(), '\n'), c.status == 6 ? 2 : 1)
        << "one line (and the sound notice once a window opened): " << outcome.output;
  }
  Outcome noDisplay = RunCommand("env -u DISPLAY " + kGamehost + " --frames 5");
  EXPECT_EQ(noDisplay.status, 5) << noDisplay.output;
  EXPECT_NE(noDisplay.output.find("can't start Allegro"), std::string::npos);
  EXPECT_NE(noDisplay.output.find("DISPLAY is not set"), std::string::npos) << noDisplay.output;
  EXPECT_EQ(noDisplay.output.find(":  ("), std::string::npos) << "an empty reason";
}

// A real pointer in the X server: a click on the window reaches the game in
// the frames that follow, even when press and release come between frames.
TEST(HostTest, RealMouseClicksReachTheGame) {
  if (RunCommand("command -v xdotool").status != 0) GTEST_SKIP() << "xdotool is not installed";
  // Each click is made again until gamehost reports it (a window shown is
  // not yet one that reads the mouse), a tenth of a second apart, within the
  // game's 10 s; then the second, the same way.
  const TemporaryFolder work;
  const std::string said = work.Path() + "/said.txt";
  std::string script =
      "cd " + fs::path(kGamehost).parent_path().string() + " && (" + kGamehost +
      " --verbose --frames 600 >" + said +
      " 2>&1 & host=$!; "
      "for i in $(seq 200); do w=$(xdotool search --name 'Flintmoor " FLINTMOOR_VERSION
      "' | head -1); "
      "[ -n \"$w\" ] && break; sleep 0.05; done; "
      "for at in '123 321' '400 50'; do for i in $(seq 100); do "
      "xdotool mousemove --window $w $at click 1; sleep 0.1; "
      "grep -q \"press at ($(echo $at | tr ' ' ',' | sed 's/,/, /'))\" " +
      said + " && break; done; done; wait $host; status=$?; cat " + said + "; exit $status)";
  Outcome played = RunCommand(script);
  ASSERT_EQ(played.status, 0) << played.output;
  EXPECT_NE(played.output.find("press at (123, 321)"), std::string::npos) << played.output;
  EXPECT_NE(played.output.find("press at (400, 50)"), std::string::npos) << played.output;
}

}  // namespace
