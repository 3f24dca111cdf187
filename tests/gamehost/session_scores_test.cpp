// The records gamehost keeps, as players meet them: never lowered by two
// gamehosts ending together, never blocked or broken by an odd file in
// their place, and never claimed in the window unless kept.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "Command.h"
#include "SessionFixture.h"

namespace fs = std::filesystem;

namespace {

// Two gamehosts end together, the lower score's disk slow: the higher
// score is what stays.
TEST_F(SessionTest, TwoGamehostsEndingTogetherNeverLowerARecord) {
  const std::string slowDisk =
      std::string("LD_PRELOAD=") + SLOW_FSYNC_LIBRARY + " SLOW_FSYNC_MS=500";
  for (int trial = 0; trial < 3; ++trial) {
    fs::remove_all(data_.Path() + "/gamehost");
    HostProcess low(kTestGame + " --frames 10", Environment() + " " + slowDisk);
    Wait(150);
    HostProcess high(kTestGame + " --frames 20", Environment());
    EXPECT_EQ(high.Wait(kExitSeconds), 0) << high.Output();
    EXPECT_EQ(low.Wait(kExitSeconds), 0) << low.Output();
    std::ifstream kept(ScoresFile());
    std::string header, line;
    std::getline(kept, header);
    std::getline(kept, line);
    EXPECT_EQ(line, "Test Game\t20") << "trial " << trial << "\n" << low.Output() << high.Output();
  }
}

// A FIFO where the file should be would block a reader for ever: the
// window opens, says that scores can't be kept, and the FIFO stays.
TEST_F(SessionTest, AFifoInPlaceOfTheScoresIsRefusedAndSaidInTheWindow) {
  fs::create_directories(data_.Path() + "/gamehost");
  ASSERT_EQ(mkfifo(ScoresFile().c_str(), 0644), 0);
  HostProcess host("", Environment());
  auto window = FindWindow(kFlintmoorTitle);
  ASSERT_TRUE(window) << "blocked before the window opened\n" << host.Output();
  Wait(400);
  EXPECT_GT(PixelsOf(*window, kNoteColour), 20) << "no word in the window";
  PressKey(*window, "Escape");
  EXPECT_EQ(host.Wait(kExitSeconds), 0) << host.Output();
  EXPECT_TRUE(fs::is_fifo(ScoresFile()));
}

// A damaged store: both screens say scores can't be kept, and a round's best
// is no record; a sound one: no such word, and the record is claimed.
TEST_F(SessionTest, ARoundsBestIsCalledARecordOnlyWhenKept) {
  for (bool damaged : {true, false}) {
    const std::string what = damaged ? "damaged store" : "sound store";
    fs::remove_all(data_.Path() + "/gamehost");
    if (damaged) WriteScores("Test Game\tmany\n");
    HostProcess host(kTestGame + " --escapes 0", Environment());
    auto window = FindWindow(kTestGameTitle);
    ASSERT_TRUE(window) << host.Output();
    Wait(400);
    EXPECT_EQ(PixelsOf(*window, kNoteColour) > 20, damaged) << what << ": the start screen";
    MoveMouse(*window, 320, 240);
    ClickMouse();
    Wait(500);
    PressKey(*window, "Escape");  // the round ends
    ASSERT_TRUE(host.WaitFor("round 1:", 5)) << host.Output();
    Wait(400);
    EXPECT_EQ(PixelsOf(*window, kNoteColour) > 20, damaged) << what << ": the results";
    EXPECT_EQ(PixelsOf(*window, kDimColour) > 20, damaged)
        << what << ": \"Record: N\" rather than \"A new record!\"";
    EXPECT_EQ(Says({0, host.Output()}, "a new record"), !damaged) << host.Output();
    PressKey(*window, "Escape");
    EXPECT_EQ(host.Wait(kExitSeconds), 0) << host.Output();
  }
}

// The built-in player's rounds are a demo: nothing kept, no record claimed,
// and its results say so.
TEST_F(SessionTest, AutoplayIsADemoThatKeepsAndClaimsNothing) {
  HostProcess host("--autoplay --frames 100000", Environment());
  auto window = FindWindow(kFlintmoorTitle);
  ASSERT_TRUE(window) << host.Output();
  Wait(1500);
  PressKey(*window, "Escape");  // the round ends; its results show
  ASSERT_TRUE(host.WaitFor("round 1:", 5)) << host.Output();
  Wait(400);
  EXPECT_GT(PixelsOf(*window, kNoteColour), 20) << "the results don't say it is a demo";
  host.Signal(SIGTERM);
  host.Wait(kExitSeconds);
  EXPECT_FALSE(Says({0, host.Output()}, "a new record")) << host.Output();
  EXPECT_FALSE(fs::exists(ScoresFile()));
}

}  // namespace
