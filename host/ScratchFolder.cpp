#include "ScratchFolder.h"

#include <stdlib.h>

#include <filesystem>

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder(const std::string& resources) {
  std::string pattern = (fs::temp_directory_path() / "gamehost-validate-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return;
  path_ = pattern;
  std::error_code error;
  if (!resources.empty() && fs::is_directory(fs::path(resources) / "games", error)) {
    fs::create_directory_symlink(fs::path(resources) / "games", fs::path(path_) / "games", error);
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
    if (name == "games" && entry->is_symlink(error)) continue;
    names += (names.empty() ? "" : ", ") + name;
  }
  return names;
}
