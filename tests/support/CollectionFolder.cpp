#include "CollectionFolder.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

CollectionFolder::CollectionFolder(bool withHang) {
  const fs::path here = Path(), games = COLLECTION_GAMES_DIR;
  const fs::path flintmoor = FLINTMOOR_MODULE_PATH;
  fs::create_symlink(flintmoor, here / "flintmoor.so");
  fs::create_directories(here / "games");
  fs::create_directory_symlink(flintmoor.parent_path() / "games" / "flintmoor",
                               here / "games" / "flintmoor");
  for (const char* game : {"balloons.so", "crashes_naming.so", "tumbler.so"}) {
    fs::create_symlink(games / game, here / game);
  }
  if (withHang) fs::create_symlink(games / "hangs_starting.so", here / "hangs_starting.so");
  fs::create_symlink(NO_ENTRY_MODULE_PATH, here / "no_entry.so");
  std::ofstream(here / "readme.so") << "Not a module: a note someone left.\n";
}
