// Best scores kept between runs: never lost, never corrupted, never lowered.
#include "BestScores.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "System.h"
#include "WorkingFolder.h"

namespace fs = std::filesystem;

namespace {

class BestScoresTest : public testing::Test {
 protected:
  void SetUp() override { setenv("XDG_DATA_HOME", data_.Path().c_str(), 1); }
  std::string File() const { return data_.Path() + "/gamehost/best-scores.txt"; }
  void Write(const std::string& text) const {
    fs::create_directories(data_.Path() + "/gamehost");
    std::ofstream(File(), std::ios::binary) << text;
  }
  static ino_t Inode(const std::string& file) {
    struct stat info {};
    stat(file.c_str(), &info);
    return info.st_ino;
  }

  WorkingFolder data_;
};

TEST_F(BestScoresTest, ARecordIsSavedAtOnceAndReadNextTime) {
  {
    BestScores scores(true);
    EXPECT_EQ(scores.File(), File());
    EXPECT_EQ(scores.Best("Flintmoor"), 0);
    EXPECT_TRUE(scores.Offer("Flintmoor", 5));
    EXPECT_FALSE(scores.Offer("Flintmoor", 5));
    EXPECT_FALSE(scores.Offer("Flintmoor", 3));
    EXPECT_TRUE(scores.Offer("Other\tgame\n", 2));
  }
  std::string text = ReadFile(File());
  EXPECT_NE(text.find("Flintmoor\t5\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Other game \t2\n"), std::string::npos) << text;
  BestScores again(true);
  EXPECT_EQ(again.Best("Flintmoor"), 5);
  EXPECT_EQ(again.Best("Other\tgame\n"), 2);
  // Nothing is left beside it.
  EXPECT_EQ(
      std::distance(fs::directory_iterator(data_.Path() + "/gamehost"), fs::directory_iterator()),
      1);
}

// A new file is written and renamed over the old: a reader, or a crash
// half-way, never meets a file half written.
TEST_F(BestScoresTest, TheFileIsReplacedWholeNotWrittenInPlace) {
  Write("Flintmoor\t1\n");
  ino_t before = Inode(File());
  BestScores scores(true);
  ASSERT_TRUE(scores.Offer("Flintmoor", 2));
  EXPECT_NE(Inode(File()), before);
  EXPECT_NE(ReadFile(File()).find("Flintmoor\t2\n"), std::string::npos);
}

TEST_F(BestScoresTest, AHigherScoreSavedMeanwhileIsNeverLowered) {
  BestScores scores(true);
  Write("Flintmoor\t9\nOther\t4\n");  // another gamehost, after this one read
  EXPECT_TRUE(scores.Offer("Flintmoor", 6));
  std::string text = ReadFile(File());
  EXPECT_NE(text.find("Flintmoor\t9\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Other\t4\n"), std::string::npos) << text;
}

TEST_F(BestScoresTest, ADamagedFileIsReportedOnceAndLeftAsItWas) {
  const std::string damaged = "Flintmoor\t12\nFlintmoor twelve\n";
  Write(damaged);
  testing::internal::CaptureStderr();
  BestScores scores(true);
  EXPECT_EQ(scores.Best("Flintmoor"), 0);
  EXPECT_TRUE(scores.Offer("Flintmoor", 3));
  EXPECT_TRUE(scores.Offer("Flintmoor", 4));
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("damaged at line 2"), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_EQ(ReadFile(File()), damaged);
}

TEST_F(BestScoresTest, AnUnreadableFileIsReportedAndNeverWrittenOver) {
  fs::create_directories(File());  // a folder where the file should be
  testing::internal::CaptureStderr();
  BestScores scores(true);
  EXPECT_TRUE(scores.Offer("Flintmoor", 3));
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("can't read the best scores"), std::string::npos) << said;
  EXPECT_TRUE(fs::is_directory(File()));
}

TEST_F(BestScoresTest, AFolderThatCantBeWrittenMeansPlayingWithoutSavingSaidOnce) {
  std::ofstream(data_.Path() + "/not-a-folder") << "x";
  setenv("XDG_DATA_HOME", (data_.Path() + "/not-a-folder").c_str(), 1);
  testing::internal::CaptureStderr();
  BestScores scores(true);
  EXPECT_TRUE(scores.Offer("Flintmoor", 3));
  EXPECT_TRUE(scores.Offer("Flintmoor", 5));
  EXPECT_EQ(scores.Best("Flintmoor"), 5);  // still shown for this run
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("playing without saving"), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

TEST_F(BestScoresTest, WithSavingOffNothingIsWritten) {
  BestScores scores(false);
  EXPECT_TRUE(scores.Offer("Flintmoor", 8));
  EXPECT_FALSE(fs::exists(data_.Path() + "/gamehost"));
}

TEST_F(BestScoresTest, TheFolderIsXdgDataHomeElseLocalShareInHome) {
  EXPECT_EQ(UserDataFolder(), data_.Path());
  setenv("XDG_DATA_HOME", "relative/ignored", 1);
  setenv("HOME", data_.Path().c_str(), 1);
  EXPECT_EQ(UserDataFolder(), data_.Path() + "/.local/share");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(UserDataFolder(), data_.Path() + "/.local/share");
}

}  // namespace
