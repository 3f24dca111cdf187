#include "ScratchFolder.h"

#include <filesystem>

#include "System.h"

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder(const std::string& resources)
    : path_(MakeTemporaryFolder("gamehost-validate-")) {
  std::error_code error;
  if (!path_.empty() && !resources.empty() &&
      fs::is_directory(fs::u8path(resources) / "games", error)) {
    ShowFolder((fs::u8path(resources) / "games").u8string(),
               (fs::u8path(path_) / "games").u8string());
  }
}

ScratchFolder::~ScratchFolder() {
  std::error_code error;
  if (!path_.empty()) fs::remove_all(fs::u8path(path_), error);
}
