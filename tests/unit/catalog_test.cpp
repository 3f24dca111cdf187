// The collection's catalog: every module of a folder asked what it is in a
// child process, whatever it does there, and the answers kept until the
// module changes; and the lists --list prints.
#include "Catalog.h"

#include <gtest/gtest.h>

#ifdef __linux__
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#endif

#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "CatalogText.h"
#include "CollectionFolder.h"

namespace fs = std::filesystem;

namespace {

class CatalogTest : public testing::Test {
 protected:
  void SetUp() override { setenv("XDG_CACHE_HOME", cache_.Path().c_str(), 1); }
  static const CatalogEntry& Titled(const std::vector<CatalogEntry>& games,
                                    const std::string& title) {
    for (const CatalogEntry& game : games) {
      if (game.Title() == title) return game;
    }
    throw std::runtime_error("no game " + title);
  }
  TemporaryFolder cache_;
};

// A module that crashes or hangs while asked, or is none, is listed with
// why it can't be played; the rest with what they say of themselves.
TEST_F(CatalogTest, EveryModuleIsListedInOrderWithWhyItCantBePlayed) {
  const CollectionFolder folder(true);
  const std::vector<CatalogEntry> games = ReadCatalog({folder.Path(), folder.Path() + "/none"});
  std::vector<std::string> titles;
  titles.reserve(games.size());
  for (const CatalogEntry& game : games) titles.push_back(game.Title());
  const std::vector<std::string> expected = {
      "Balloons",    "crashes_naming.so", "Flintmoor", "hangs_starting.so",
      "no_entry.so", "readme.so",         "Tumbler"};
  EXPECT_EQ(titles, expected);
  const CatalogEntry& flintmoor = Titled(games, "Flintmoor");
  EXPECT_TRUE(flintmoor.Playable()) << flintmoor.problem;
  EXPECT_EQ(flintmoor.module, folder.Module("flintmoor.so"));
  EXPECT_EQ(flintmoor.identity.icon, folder.Path() + "/games/flintmoor/icon.bmp");
  EXPECT_FALSE(flintmoor.identity.description.empty());
  EXPECT_TRUE(Titled(games, "Tumbler").Playable()) << "it crashes only once played";
  const std::pair<const char*, const char*> problems[] = {
      {"crashes_naming.so", "crashed with signal 11 (Segmentation fault) in GetName"},
      {"hangs_starting.so", "hung in GetPlugin"},
      {"no_entry.so", "it exports no GetPlugin"},
      {"readme.so", "can't load it"}};
  for (const auto& [title, problem] : problems) {
    EXPECT_NE(Titled(games, title).problem.find(problem), std::string::npos)
        << title << ": " << Titled(games, title).problem;
  }

  const std::string lines = CatalogLines(games);
  EXPECT_NE(lines.find("Flintmoor 0.4 by "), std::string::npos) << lines;
  EXPECT_NE(lines.find(": " + folder.Module("flintmoor.so") + "\n"), std::string::npos) << lines;
  EXPECT_NE(lines.find("readme.so: " + folder.Module("readme.so") + ": can't be played: "),
            std::string::npos)
      << lines;
  const nlohmann::json json = nlohmann::json::parse(CatalogJson(games));
  ASSERT_EQ(json.size(), games.size());
  EXPECT_EQ(json[2]["name"], "Flintmoor");
  EXPECT_EQ(json[2]["module"], folder.Module("flintmoor.so"));
  EXPECT_EQ(json[2]["playable"], true);
  EXPECT_FALSE(json[2].contains("reason"));
  EXPECT_EQ(json[5]["playable"], false);
  EXPECT_NE(json[5]["reason"].get<std::string>().find("can't load it"), std::string::npos);
}

// Asked once: the answers are kept until the module or its games/ folder
// changes, and a damaged cache is only asked again.
TEST_F(CatalogTest, AnswersAreKeptUntilTheModuleChanges) {
  const CollectionFolder folder;
  ReadCatalog({folder.Path()});
  // What is kept is what is listed: a kept name that no module answers.
  nlohmann::json kept = nlohmann::json::parse(ReadFile(CatalogCacheFile()));
  for (nlohmann::json& game : kept["games"]) {
    if (game["name"] == "Balloons") game["name"] = "Kept Balloons";
  }
  std::ofstream(CatalogCacheFile()) << kept.dump();
  auto balloons = [&] {
    for (const CatalogEntry& game : ReadCatalog({folder.Path()})) {
      if (game.module == folder.Module("balloons.so")) return game.Title();
    }
    return std::string("none");
  };
  EXPECT_EQ(balloons(), "Kept Balloons");

  const fs::path built = fs::read_symlink(folder.Module("balloons.so"));
  fs::remove(folder.Module("balloons.so"));
  fs::copy_file(built, folder.Module("balloons.so"));  // a new build of it
  EXPECT_EQ(balloons(), "Balloons");

  std::ofstream(CatalogCacheFile()) << "{\"gamehost\": [";
  EXPECT_EQ(ReadCatalog({folder.Path()}).size(), std::size(kCollectionTitles));
}

// Without a display (--list in a terminal) the games say what they are,
// untried, and nothing of that is kept: with one, they are started.
TEST_F(CatalogTest, WithoutADisplayGamesAreListedUntriedAndNotKept) {
  const CollectionFolder folder;
  const char* const shown = getenv("DISPLAY");
  ASSERT_NE(shown, nullptr) << "the unit tests run on a display";
  const std::string display = shown;
  unsetenv("DISPLAY");
  const std::vector<CatalogEntry> games = ReadCatalog({folder.Path()});
  setenv("DISPLAY", display.c_str(), 1);
  const CatalogEntry& balloons = Titled(games, "Balloons");
  EXPECT_FALSE(balloons.tried);
  EXPECT_TRUE(balloons.Playable()) << balloons.problem;
  EXPECT_EQ(balloons.identity.version, "1.0");
  EXPECT_EQ(ReadFile(CatalogCacheFile()).find(folder.Module("balloons.so")), std::string::npos);
  EXPECT_TRUE(Titled(ReadCatalog({folder.Path()}), "Balloons").tried);
}

#ifdef __linux__
// From here on this process can start no other: the system answers EAGAIN,
// as it does to a user at the limit of their processes.
void RefuseNewProcesses() {
  sock_filter refuse[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_clone, 2, 0),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_clone3, 1, 0),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EAGAIN),
  };
  const sock_fprog program{static_cast<unsigned short>(std::size(refuse)), refuse};
  prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0);
  prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program);
}

// A game gamehost could not ask, because the system would start no process
// to ask it in, is listed with why, and that is not kept as its answer.
TEST_F(CatalogTest, AGameNoProcessCouldAskIsAskedAgain) {
  const CollectionFolder folder;
  const pid_t refused = fork();
  if (refused == 0) {
    RefuseNewProcesses();
    for (const CatalogEntry& game : ReadCatalog({folder.Path()})) {
      if (game.module == folder.Module("balloons.so")) {
        _exit(game.problem == "can't start a child process" ? 0 : 1);
      }
    }
    _exit(2);
  }
  int status = -1;
  waitpid(refused, &status, 0);
  EXPECT_EQ(status, 0) << "not listed as unasked";
  const CatalogEntry balloons = Titled(ReadCatalog({folder.Path()}), "Balloons");
  EXPECT_TRUE(balloons.Playable()) << balloons.problem;
}
#endif

}  // namespace
