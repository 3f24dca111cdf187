// A check's private working folder shows the module its own resources and
// nothing that another validation of the same folder writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "FolderSnapshot.h"
#include "ScratchFolder.h"

namespace {

namespace fs = std::filesystem;

void Put(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ScratchFolderTest, ShowsTheModulesOwnResourcesAndSeesWritesInThemAlone) {
  const ScratchFolder resources;  // a folder of modules, each beside its games/<module>/
  const fs::path games = fs::u8path(resources.Path()) / "games";
  Put(games / "mine" / "mine.dat", "mine");
  Put(games / "other" / "other.dat", "other");
  const ScratchFolder working(resources.Path(), "mine");
  const fs::path shown = fs::u8path(working.Path()) / "games";
  EXPECT_EQ(Read(shown / "mine" / "mine.dat"), "mine");
  EXPECT_FALSE(fs::exists(shown / "other"));

  const FolderSnapshot snapshot(working.Path());
  // Another validation's module writes in the resources' games/: not ours.
  Put(games / "other" / "saved.txt", "theirs");
  Put(games / "renamed" / "saved.txt", "theirs");
  EXPECT_EQ(snapshot.Changes(), "");
  // This module writes in games/ beside its folder, and in its folder.
  Put(shown / "renamed" / "saved.txt", "ours");
  EXPECT_EQ(Read(games / "renamed" / "saved.txt"), "theirs");
  Put(shown / "mine" / "saved.txt", "ours");
  EXPECT_EQ(snapshot.Changes(),
            "games/mine/saved.txt (new), games/renamed (new), games/renamed/saved.txt (new)");
}

// Without a games/ folder beside the module there is nothing to show.
TEST(ScratchFolderTest, IsEmptyWhereTheModuleHasNoGamesFolder) {
  const ScratchFolder resources;
  const ScratchFolder working(resources.Path(), "mine");
  EXPECT_TRUE(fs::is_empty(fs::u8path(working.Path())));
}

}  // namespace
