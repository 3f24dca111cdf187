#include "ResourceFolder.h"

#include <filesystem>

namespace fs = std::filesystem;

// Paths are kept as UTF-8 text: fs::u8path and u8string convert, so that a
// folder named in any letters works on Windows too.

std::string ModuleName(const std::string& modulePath) {
  return fs::u8path(modulePath).stem().u8string();
}

std::string ResourceFolder(const std::string& modulePath) {
  fs::path moduleFolder = fs::absolute(fs::u8path(modulePath)).parent_path();
  std::error_code error;
  if (fs::is_directory(moduleFolder / "games" / fs::u8path(ModuleName(modulePath)), error)) {
    return moduleFolder.u8string();
  }
  return fs::current_path().u8string();
}

std::string IconPath(IGame& game, const std::string& modulePath) {
  std::string folder = game.path != nullptr ? game.path : "";
  const fs::path icon = fs::u8path(game.GetIcon());
  fs::path beside = fs::u8path(folder) / icon;
  fs::path withResources = fs::u8path(folder) / "games" / fs::u8path(ModuleName(modulePath)) / icon;
  std::error_code error;
  if (!fs::exists(beside, error) && fs::exists(withResources, error)) {
    return withResources.u8string();
  }
  return beside.u8string();
}
