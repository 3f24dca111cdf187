#include "ScratchFolder.h"

#include <filesystem>

#include "System.h"

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder(const std::string& resources)
    : path_(MakeTemporaryFolder("gamehost-validate-")) {
  std::error_code error;
  if (!path_.empty() && !resources.empty() &&
      fs::is_directory(fs::u8path(resources) / "games", error)) {
    showsGames_ = ShowFolder((fs::u8path(resources) / "games").u8string(),
                             (fs::u8path(path_) / "games").u8string());
  }
}

ScratchFolder::~ScratchFolder() {
  std::error_code error;
  if (!path_.empty()) fs::remove_all(fs::u8path(path_), error);
}

std::string ScratchFolder::Created() const {
  std::string names;
  std::error_code error;
  for (fs::directory_iterator entry(fs::u8path(path_), error), end; !error && entry != end;
       entry.increment(error)) {
    std::string name = entry->path().filename().u8string();
    if (name == "games" && showsGames_) continue;
    names += (names.empty() ? "" : ", ") + name;
  }
  return names;
}
