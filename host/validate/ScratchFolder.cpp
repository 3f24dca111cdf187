#include "ScratchFolder.h"

#include <filesystem>

#include "System.h"

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder(const std::string& resources)
    : path_(MakeTemporaryFolder("gamehost-validate-")) {
  std::error_code error;
  if (!path_.empty() && !resources.empty() &&
      fs::is_directory(fs::path(resources) / "games", error)) {
    showsGames_ =
        ShowFolder((fs::path(resources) / "games").string(), (fs::path(path_) / "games").string());
  }
}

ScratchFolder::~ScratchFolder() {
  std::error_code error;
  if (!path_.empty()) fs::remove_all(path_, error);
}

std::string ScratchFolder::Created() const {
  std::string names;
  std::error_code error;
  for (fs::directory_iterator entry(path_, error), end; !error && entry != end;
       entry.increment(error)) {
    std::string name = entry->path().filename().string();
    if (name == "games" && showsGames_) continue;
    names += (names.empty() ? "" : ", ") + name;
  }
  return names;
}
