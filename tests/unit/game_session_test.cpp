// gamehost's session with one game, on a stage in memory: what its screens
// and status line say, and what the player's keys and clicks do, with real
// modules and real records. (What needs a window, the pointer, focus and
// keys held down, is tested in one: tests/gamehost/.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "GameModule.h"
#include "HostError.h"
#include "MemoryStage.h"
#include "Session.h"
#include "WorkingFolder.h"

namespace fs = std::filesystem;

namespace {

// Needs no resources; its score is the number of frames played.
const std::string kTestGame = std::string(TEST_MODULES_DIR) + "/test_standalone.so";

class GameSessionTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DATA_HOME", data_.Path().c_str(), 1);
    settings_.escapes = 0;
  }
  void KeepRecords(const std::string& lines) const {
    fs::create_directories(data_.Path() + "/gamehost");
    std::ofstream(data_.Path() + "/gamehost/best-scores.txt") << lines;
  }
  // Plays the module on the stage as a person (stage_.person) does; what it
  // printed is in out_, err_.
  SessionEnd Play(const std::string& module = kTestGame, bool back = false) {
    GameModule loaded(module);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    SessionEnd end;
    try {
      Records records(RecordKeeping(settings_));
      GameSession session(loaded, settings_, stage_, hand_, records, back);
      end = session.Run();
    } catch (...) {
      out_ = testing::internal::GetCapturedStdout();
      err_ = testing::internal::GetCapturedStderr();
      throw;
    }
    out_ = testing::internal::GetCapturedStdout();
    err_ = testing::internal::GetCapturedStderr();
    return end;
  }
  // The first frame from `after` on that shows this text, or null.
  const Shown* First(const std::string& text, long after = 0) const {
    for (const Shown& frame : stage_.shown) {
      if (frame.frame > after && (frame.Says(text) || frame.status.left == text)) return &frame;
    }
    return nullptr;
  }
  void Click() { hand_.mouse.buttons = 1; }
  void LetGo() { hand_.mouse.buttons = 0; }

  WorkingFolder data_;
  SessionSettings settings_;
  MemoryStage stage_;
  HandPlayer hand_;
  std::string out_, err_;
};

// Start screen, a round, its results, another round, and leaving: each
// screen says what it is, Esc leaves the game from the screens.
TEST_F(GameSessionTest, APersonPlaysTwoRoundsAndLeaves) {
  KeepRecords("Test Game\t30\n");
  long roundEnded = 0;
  stage_.person = [&](const Shown& shown) {
    if (shown.frame == 5) Click();  // on the start screen
    if (shown.frame == 6) LetGo();
    if (shown.frame == 50) stage_.Press(Key::kEscape);  // ends the round
    if (shown.Says("Round over") && roundEnded == 0) roundEnded = shown.frame;
    if (roundEnded != 0 && shown.frame == roundEnded + 90) Click();
    if (roundEnded != 0 && shown.frame == roundEnded + 91) LetGo();
    if (roundEnded != 0 && shown.frame == roundEnded + 130) stage_.Press(Key::kEscape);
    if (shown.Says("Round over") && shown.frame > roundEnded + 130) stage_.Press(Key::kEscape);
  };
  const SessionEnd end = Play(kTestGame, true);
  EXPECT_TRUE(end.back);
  EXPECT_EQ(end.status, 0);
  const Shown& start = stage_.shown.front();
  EXPECT_TRUE(start.Says("Test Game"));
  EXPECT_TRUE(start.Says("Record: 30"));
  EXPECT_TRUE(start.Says("Esc goes back to the games."));
  EXPECT_EQ(start.status.right, "Esc goes back to the games");
  // The record shown in play is the kept one until the round passes it (the
  // round began after frame 5, and scores a point a frame).
  EXPECT_EQ(stage_.shown[10].status.left, "Record 30");
  EXPECT_EQ(stage_.shown[45].status.left, "Record 41");
  ASSERT_GT(roundEnded, 0);
  const Shown& results = stage_.shown[size_t(roundEnded) - 1];
  EXPECT_TRUE(results.Says("Best score: ")) << out_;
  EXPECT_TRUE(results.Says("A new record!"));
  EXPECT_TRUE(results.Says("Time played: 0:00"));
  EXPECT_NE(out_.find("round 1: best score "), std::string::npos) << out_;
  EXPECT_NE(out_.find(", 0:00 played, a new record\n"), std::string::npos) << out_;
  EXPECT_NE(out_.find("round 2:"), std::string::npos) << out_;
}

// The start screen says how a round goes, and leaving from it plays none.
TEST_F(GameSessionTest, TheStartScreenStatesTheRulesAndQuittingFromItPlaysNoRound) {
  KeepRecords("Test Game\t17\n");
  stage_.person = [&](const Shown& shown) {
    if (shown.frame == 2) stage_.Press(Key::kEscape);
  };
  const std::pair<int, const char*> rules[] = {{1, "1 escape ends the round."},
                                               {10, "10 escapes end the round."},
                                               {0, "Rounds go on until Esc."}};
  for (const auto& [escapes, says] : rules) {
    settings_.escapes = escapes;
    const SessionEnd end = Play();
    EXPECT_FALSE(end.back);
    EXPECT_EQ(end.status, 0);
    EXPECT_TRUE(stage_.shown.front().Says(says)) << escapes;
    EXPECT_TRUE(stage_.shown.front().Says("Esc quits."));
    EXPECT_EQ(out_, "no round played; record 17\n");
    stage_.shown.clear();
  }
}

// The results take no click for about a second, nor a press that began
// before a second had passed, however long it is held: a player clicking
// on at the end of a round sees them.
TEST_F(GameSessionTest, TheResultsTakeOnlyAPressBegunASecondAfterTheyShow) {
  long shownAt = 0, secondRound = 0;
  stage_.person = [&](const Shown& shown) {
    if (shown.frame == 2) Click();
    if (shown.frame == 3) LetGo();
    if (shown.frame == 10) {
      stage_.Press(Key::kEscape);
      Click();  // held from the round into the results
    }
    if (shown.Says("Round over") && shownAt == 0) shownAt = shown.frame;
    if (shownAt != 0 && shown.frame == shownAt + 30) LetGo();
    if (shownAt != 0 && shown.frame == shownAt + 40) Click();  // too soon, held on
    if (shownAt != 0 && shown.frame == shownAt + 100) LetGo();
    if (shownAt != 0 && shown.frame == shownAt + 110) Click();
    if (!shown.card && shownAt != 0 && secondRound == 0) {
      secondRound = shown.frame;
      stage_.Close();
    }
  };
  Play();
  ASSERT_GT(shownAt, 0);
  EXPECT_EQ(secondRound, shownAt + 111) << "the round after the results began at the wrong click";
}

// P, or turning to another window, pauses a round from the next frame on:
// each frame then shows "Paused" on the game's dimmed picture, and the game
// is not updated; P or a click resumes it, again from the next frame.
TEST_F(GameSessionTest, APausedRoundShowsPausedAndIsNotPlayed) {
  long paused = 0, played = 0;
  stage_.person = [&](const Shown& shown) {
    if (shown.frame == 2) Click();  // starts the round
    if (shown.frame == 3) LetGo();
    if (shown.frame == 20) stage_.Press(Key::kPause);
    if (shown.frame == 80) stage_.Press(Key::kPause);
    if (shown.frame == 100) stage_.LoseFocus();
    if (shown.frame == 130) Click();
    if (shown.frame == 131) LetGo();
    if (shown.frame == 150) stage_.Press(Key::kEscape);  // ends the round
    if (shown.frame > 150 && shown.Says("Round over")) stage_.Press(Key::kEscape);
    if (shown.status.centre == "Paused") {
      paused += shown.card && shown.Says("Click or press P to resume");
    } else if (!shown.card) {
      ++played;
    }
  };
  Play();
  EXPECT_EQ(paused, 60 + 30);
  EXPECT_NE(out_.find("escapes in " + std::to_string(played) + " frames"), std::string::npos)
      << played << " frames shown of the game\n"
      << out_;
}

// The built-in player's rounds are a demo: "Demo" where the record would
// stand, no record on its results nor in what it prints, nothing kept.
TEST_F(GameSessionTest, ADemoShowsNoRecordAndKeepsNone) {
  KeepRecords("Test Game\t5\n");
  settings_.autoplay = true;
  settings_.escapes = 0;
  long results = 0;
  stage_.person = [&](const Shown& shown) {
    if (shown.frame == 20) stage_.Press(Key::kEscape);
    if (shown.Says("Demo round over") && results == 0) results = shown.frame;
    if (results != 0 && shown.frame == results + 5) stage_.Close();
  };
  Play();
  ASSERT_GT(results, 0);
  const Shown& over = stage_.shown[size_t(results) - 1];
  EXPECT_FALSE(over.Says("Record")) << "a demo's results name no record";
  EXPECT_FALSE(over.Says("A new record!"));
  EXPECT_EQ(over.status.left, "Demo");
  EXPECT_EQ(stage_.shown[10].status.left, "Demo");
  EXPECT_EQ(out_.find("record"), std::string::npos) << out_;
  EXPECT_NE(out_.find("a demo: its scores are not kept"), std::string::npos) << out_;
  EXPECT_EQ(Records(Records::Keeping::kKept).Of("Test Game"), 5);
}

// Records in a damaged file can't be known: "unknown" wherever the record
// would show, never 0, never the round's best, and no new record claimed.
TEST_F(GameSessionTest, AnUnknownRecordIsNeverShownAsANumber) {
  KeepRecords("Test Game\tfive\n");
  long results = 0;
  stage_.person = [&](const Shown& shown) {
    if (shown.frame == 2) Click();
    if (shown.frame == 3) LetGo();
    if (shown.frame == 60) stage_.Press(Key::kEscape);
    if (shown.Says("Round over") && results == 0) results = shown.frame;
    if (results != 0 && shown.frame == results + 2) stage_.Press(Key::kEscape);
  };
  Play();
  EXPECT_TRUE(stage_.shown.front().Says("Record: unknown"));
  EXPECT_TRUE(stage_.shown.front().Says("Records can't be kept: best-scores.txt is damaged"));
  EXPECT_EQ(stage_.shown[50].status.left, "Record unknown");
  ASSERT_GT(results, 0);
  EXPECT_TRUE(stage_.shown[size_t(results) - 1].Says("Record: unknown"));
  EXPECT_FALSE(stage_.shown[size_t(results) - 1].Says("A new record!"));
  EXPECT_EQ(out_.find("a new record"), std::string::npos) << out_;
  EXPECT_NE(out_.find("; record unknown (Records can't be kept"), std::string::npos) << out_;
  EXPECT_NE(err_.find("damaged at line 1"), std::string::npos) << err_;
}

// A record another copy of gamehost kept while this one waited shows in
// the next round.
TEST_F(GameSessionTest, EachRoundShowsTheRecordAsKeptWhenItStarts) {
  stage_.person = [&](const Shown& shown) {
    if (shown.frame == 2) Records(Records::Keeping::kKept).Offer("Test Game", 500);
    if (shown.frame == 3) Click();
    if (shown.frame == 4) LetGo();
    if (shown.frame == 10) stage_.Close();
  };
  Play();
  EXPECT_TRUE(stage_.shown.front().Says("Record: 0"));
  EXPECT_EQ(stage_.shown.back().status.left, "Record 500");
}

// A game that can't start says so, and why, before anyone clicks; any key
// then ends gamehost with status 6 (or goes back to the games).
TEST_F(GameSessionTest, AGameThatCantStartSaysWhyBeforeAClick) {
  TemporaryFolder elsewhere;
  const std::string module = elsewhere.Path() + "/test_good.so";
  fs::copy_file(std::string(TEST_MODULES_DIR) + "/test_good.so", module);
  stage_.person = [&](const Shown& shown) {
    if (shown.frame == 3) stage_.Press(Key::kOther);
  };
  for (bool back : {false, true}) {
    const SessionEnd end = Play(module, back);
    EXPECT_EQ(end.status, kExitGameDidNotStart);
    EXPECT_EQ(end.back, back);
    const Shown& first = stage_.shown.front();
    EXPECT_TRUE(first.Says("Test Game can't start"));
    EXPECT_TRUE(first.Says("there is no games/test_good/ folder beside the module"));
    EXPECT_TRUE(first.Says(back ? "go back to the games" : "click to close"));
    EXPECT_NE(
        err_.find(
            "Test Game did not start: its Init answered false, and there is no games/test_good/"),
        std::string::npos)
        << err_;
    stage_.shown.clear();
  }
  // Run by a script, it says so and ends at once.
  settings_.frames = 10;
  try {
    Play(module);
    ADD_FAILURE() << "started";
  } catch (const HostError& error) {
    EXPECT_EQ(error.status, kExitGameDidNotStart);
    EXPECT_NE(std::string(error.what()).find("put the module beside its games/test_good/"),
              std::string::npos)
        << error.what();
  }
}

}  // namespace
