// Records kept between runs: never lost, never corrupted, never lowered,
// never claimed unless kept, and unknown where the file can't be used.
#include "Records.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "System.h"
#include "WorkingFolder.h"

namespace fs = std::filesystem;

namespace {

using Keeping = Records::Keeping;

// Milliseconds every fsync of this process waits first: a slow disk, to
// widen the moment in which two savers can cross.
std::atomic<int> slowFsyncMs{0};

}  // namespace

// Takes the place of the C library's for everything linked into this test.
extern "C" int fsync(int fd) {
  std::this_thread::sleep_for(std::chrono::milliseconds(slowFsyncMs.load()));
  return int(syscall(SYS_fsync, fd));
}

namespace {

class RecordsTest : public testing::Test {
 protected:
  void SetUp() override { setenv("XDG_DATA_HOME", data_.Path().c_str(), 1); }
  std::string Folder() const { return data_.Path() + "/gamehost"; }
  std::string File() const { return Folder() + "/best-scores.txt"; }
  void Write(const std::string& text) const {
    fs::create_directories(Folder());
    std::ofstream(File(), std::ios::binary) << text;
  }
  static ino_t Inode(const std::string& file) {
    struct stat info {};
    stat(file.c_str(), &info);
    return info.st_ino;
  }

  WorkingFolder data_;
};

TEST_F(RecordsTest, ARecordIsSavedAtOnceAndReadNextTime) {
  {
    Records scores(Keeping::kKept);
    EXPECT_EQ(scores.File(), File());
    EXPECT_EQ(scores.Of("Flintmoor"), 0);
    EXPECT_TRUE(scores.Offer("Flintmoor", 5));
    EXPECT_FALSE(scores.Offer("Flintmoor", 5));
    EXPECT_FALSE(scores.Offer("Flintmoor", 3));
    EXPECT_TRUE(scores.Offer("Other\tgame\n", 2));
    EXPECT_EQ(scores.Note(), "");
  }
  std::string text = ReadFile(File());
  EXPECT_NE(text.find("Flintmoor\t5\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Other game \t2\n"), std::string::npos) << text;
  Records again(Keeping::kKept);
  EXPECT_EQ(again.Of("Flintmoor"), 5);
  EXPECT_EQ(again.Of("Other\tgame\n"), 2);
  // Nothing is left beside it, not even a lock.
  EXPECT_EQ(std::distance(fs::directory_iterator(Folder()), fs::directory_iterator()), 1);
}

// A new file is written and renamed over the old: a reader, or a crash
// half-way, never meets a file half written.
TEST_F(RecordsTest, TheFileIsReplacedWholeNotWrittenInPlace) {
  Write("Flintmoor\t1\n");
  ino_t before = Inode(File());
  Records scores(Keeping::kKept);
  ASSERT_TRUE(scores.Offer("Flintmoor", 2));
  EXPECT_NE(Inode(File()), before);
  EXPECT_NE(ReadFile(File()).find("Flintmoor\t2\n"), std::string::npos);
}

TEST_F(RecordsTest, AHigherScoreSavedMeanwhileIsNeverLoweredNorCalledBeaten) {
  Records scores(Keeping::kKept);
  Write("Flintmoor\t9\nOther\t4\n");  // another gamehost, after this one read
  EXPECT_FALSE(scores.Offer("Flintmoor", 6)) << "9 was kept meanwhile: 6 is no record";
  std::string text = ReadFile(File());
  EXPECT_NE(text.find("Flintmoor\t9\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Other\t4\n"), std::string::npos) << text;
  EXPECT_EQ(scores.Of("Flintmoor"), 9);
}

// Two gamehosts ending at once, the lower score's disk slow: whichever saves
// last must not put back what it read before the other saved.
TEST_F(RecordsTest, TwoSaversAtOnceNeverLowerARecord) {
  for (int trial = 0; trial < 10; ++trial) {
    fs::remove_all(Folder());
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t slow = fork();
    if (slow == 0) {
      Records scores(Keeping::kKept);
      slowFsyncMs = 60;
      close(ready[0]);
      if (write(ready[1], "r", 1) != 1) _exit(2);  // read, about to save
      scores.Offer("Flintmoor", 10);
      _exit(0);
    }
    close(ready[1]);
    char signal = 0;
    ASSERT_EQ(read(ready[0], &signal, 1), 1);
    close(ready[0]);
    Records scores(Keeping::kKept);  // before the slow one has saved
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    scores.Offer("Flintmoor", 20);
    int status = 0;
    waitpid(slow, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Records(Keeping::kKept).Of("Flintmoor"), 20) << "trial " << trial << ":\n"
                                                           << ReadFile(File());
  }
}

TEST_F(RecordsTest, ADamagedFileIsReportedOnceAndLeftAsItWas) {
  const std::string damaged = "Flintmoor\t12\nFlintmoor twelve\n";
  Write(damaged);
  testing::internal::CaptureStderr();
  Records scores(Keeping::kKept);
  EXPECT_EQ(scores.Of("Flintmoor"), std::nullopt) << "unknown, not 0 nor 12";
  EXPECT_FALSE(scores.Offer("Flintmoor", 3)) << "a record not kept is no record";
  scores.Reread();
  EXPECT_FALSE(scores.Offer("Flintmoor", 40));
  EXPECT_EQ(scores.Of("Flintmoor"), std::nullopt) << "no round's best stands for the record";
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("damaged at line 2"), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_EQ(ReadFile(File()), damaged);
  EXPECT_EQ(scores.Note(), "Records can't be kept: best-scores.txt is damaged at line 2");
}

// What is not a file is refused at once: reading a FIFO would wait for a
// writer that never comes, a folder or device can't hold scores.
TEST_F(RecordsTest, AFifoOrAFolderInItsPlaceIsRefusedAtOnceAndLeftAlone) {
  fs::create_directories(Folder());
  ASSERT_EQ(mkfifo(File().c_str(), 0644), 0);
  for (int kind = 0; kind < 2; ++kind) {
    testing::internal::CaptureStderr();
    Records scores(Keeping::kKept);
    EXPECT_FALSE(scores.Offer("Flintmoor", 3));
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("can't read the records"), std::string::npos) << said;
    EXPECT_EQ(scores.Note(), "Records can't be kept: best-scores.txt is not a file");
    if (kind == 0) {
      EXPECT_TRUE(fs::is_fifo(File()));
      fs::remove(File());
      fs::create_directories(File());
    } else {
      EXPECT_TRUE(fs::is_directory(File()));
    }
  }
}

// Far larger than any scores: refused as damaged without being read whole
// (here 4 GB, sparse), and left as it is.
TEST_F(RecordsTest, AHugeFileIsRefusedAsDamagedWithoutReadingIt) {
  for (uintmax_t size : {uintmax_t(1) << 20 | 1, uintmax_t(4) << 30}) {
    Write("Flintmoor\t12\n");
    fs::resize_file(File(), size);
    testing::internal::CaptureStderr();
    Records scores(Keeping::kKept);
    EXPECT_FALSE(scores.Offer("Flintmoor", 30));
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("is damaged"), std::string::npos) << said;
    EXPECT_EQ(scores.Note(), "Records can't be kept: best-scores.txt is damaged");
    EXPECT_EQ(fs::file_size(File()), size);
  }
}

// A dotfiles user's link stays a link; the file it points to is replaced,
// in its own folder, and so is a link to a file not there yet.
TEST_F(RecordsTest, ALinkedFileStaysALinkAndItsTargetIsReplaced) {
  WorkingFolder dotfiles;
  const std::string target = dotfiles.Path() + "/scores";
  std::ofstream(target) << "Flintmoor\t4\n";
  fs::create_directories(Folder());
  fs::create_symlink(target, File());
  {
    Records scores(Keeping::kKept);
    EXPECT_EQ(scores.Of("Flintmoor"), 4);
    EXPECT_TRUE(scores.Offer("Flintmoor", 7));
  }
  EXPECT_TRUE(fs::is_symlink(File()));
  EXPECT_NE(ReadFile(target).find("Flintmoor\t7\n"), std::string::npos) << ReadFile(target);
  EXPECT_EQ(std::distance(fs::directory_iterator(dotfiles.Path()), fs::directory_iterator()), 1);

  fs::remove(target);
  EXPECT_TRUE(Records(Keeping::kKept).Offer("Flintmoor", 2));
  EXPECT_TRUE(fs::is_symlink(File()));
  EXPECT_NE(ReadFile(target).find("Flintmoor\t2\n"), std::string::npos);
}

// What stands in the way of keeping records is found out at the start, not
// after the round the player hoped to keep, and said once.
TEST_F(RecordsTest, AFolderThatCantBeMadeIsFoundAtTheStartAndSaidOnce) {
  std::ofstream(data_.Path() + "/not-a-folder") << "x";
  setenv("XDG_DATA_HOME", (data_.Path() + "/not-a-folder").c_str(), 1);
  testing::internal::CaptureStderr();
  Records scores(Keeping::kKept);
  EXPECT_FALSE(scores.Keeps());
  EXPECT_FALSE(scores.Offer("Flintmoor", 3));
  EXPECT_FALSE(scores.Offer("Flintmoor", 5));
  EXPECT_EQ(scores.Of("Flintmoor"), 0) << "a round's best is no record";
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("playing without keeping them"), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_EQ(scores.Note(),
            "Records can't be kept: " + data_.Path() + "/not-a-folder is not a folder");
}

// A read-only file or folder: the record shows, nothing is written, and the
// screens say why from the start. (As root everything is writable: the
// cases run as another user there.)
TEST_F(RecordsTest, AReadOnlyFileOrFolderShowsTheRecordAndKeepsNone) {
  for (bool folder : {false, true}) {
    fs::remove_all(Folder());
    Write("Flintmoor\t5\n");
    fs::permissions(File(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    if (folder) {
      fs::permissions(File(), fs::perms::owner_write | fs::perms::others_write,
                      fs::perm_options::add);
      fs::permissions(Folder(), fs::perms::owner_read | fs::perms::owner_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
    }
    fs::permissions(data_.Path(), fs::perms::others_read | fs::perms::others_exec,
                    fs::perm_options::add);
    const pid_t child = fork();
    if (child == 0) {
      if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
      testing::internal::CaptureStderr();
      Records scores(Keeping::kKept);
      const std::string said = testing::internal::GetCapturedStderr();
      // Each promise a bit of the status, to name the broken one.
      const int broken =
          (scores.Of("Flintmoor") == 5 ? 0 : 1) | (scores.Keeps() ? 2 : 0) |
          (scores.Offer("Flintmoor", 9) ? 4 : 0) |
          (scores.Note().find(folder ? "can't be written" : "is read-only") == std::string::npos
               ? 8
               : 0) |
          (said.find("playing without keeping them") == std::string::npos ? 16 : 0);
      _exit(broken);
    }
    int status = 0;
    waitpid(child, &status, 0);
    fs::permissions(Folder(), fs::perms::owner_all);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << (folder ? "folder" : "file") << ": 1 record, 2 keeps, 4 kept, 8 note, 16 said";
    EXPECT_NE(ReadFile(File()).find("Flintmoor\t5\n"), std::string::npos);
  }
}

// Another gamehost keeps a record: this one shows it once it reads again,
// and a score that only ties it is no new record here.
TEST_F(RecordsTest, AnotherCopysRecordShowsOnRereadingAndATieIsTheirs) {
  Records scores(Keeping::kKept);
  EXPECT_EQ(scores.Of("Flintmoor"), 0);
  Records(Keeping::kKept).Offer("Flintmoor", 12);
  EXPECT_EQ(scores.Of("Flintmoor"), 0);
  scores.Reread();
  EXPECT_EQ(scores.Of("Flintmoor"), 12);
  Records(Keeping::kKept).Offer("Flintmoor", 15);
  EXPECT_FALSE(scores.Offer("Flintmoor", 15)) << "15 was kept first by the other";
  EXPECT_EQ(scores.Of("Flintmoor"), 15);
}

// --no-save and the built-in player read the record to show it, keep
// nothing and say so.
TEST_F(RecordsTest, WithoutKeepingTheRecordShowsAndNothingIsWritten) {
  Write("Flintmoor\t6\n");
  const std::string kept = ReadFile(File());
  Records notKept(Keeping::kNotKept);
  EXPECT_EQ(notKept.Of("Flintmoor"), 6);
  EXPECT_FALSE(notKept.Offer("Flintmoor", 8));
  EXPECT_EQ(notKept.Of("Flintmoor"), 6) << "a best not kept is no record";
  EXPECT_EQ(notKept.Note(), "Records are not kept (--no-save)");
  Records demo(Keeping::kDemo);
  EXPECT_FALSE(demo.Offer("Flintmoor", 9));
  EXPECT_EQ(demo.Of("Flintmoor"), 6);
  EXPECT_EQ(demo.Note(), "A demo: its scores are not kept");
  EXPECT_EQ(ReadFile(File()), kept);
}

TEST_F(RecordsTest, TheFolderIsXdgDataHomeElseLocalShareInHome) {
  EXPECT_EQ(UserDataFolder(), data_.Path());
  setenv("XDG_DATA_HOME", "relative/ignored", 1);
  setenv("HOME", data_.Path().c_str(), 1);
  EXPECT_EQ(UserDataFolder(), data_.Path() + "/.local/share");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(UserDataFolder(), data_.Path() + "/.local/share");
}

}  // namespace
