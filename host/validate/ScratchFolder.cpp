#include "ScratchFolder.h"

#include <filesystem>

#include "System.h"

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder(const std::string& resources, const std::string& name)
    : path_(MakeTemporaryFolder("gamehost-validate-")) {
  std::error_code error;
  const fs::path games = fs::u8path(resources) / "games";
  if (path_.empty() || resources.empty() || !fs::is_directory(games, error)) return;
  const fs::path shown = fs::u8path(path_) / "games";
  fs::create_directory(shown, error);
  if (!name.empty() && fs::is_directory(games / fs::u8path(name), error)) {
    ShowFolder((games / fs::u8path(name)).u8string(), (shown / fs::u8path(name)).u8string());
  }
}

ScratchFolder::~ScratchFolder() {
  std::error_code error;
  if (!path_.empty()) fs::remove_all(fs::u8path(path_), error);
}
