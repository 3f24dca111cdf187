#include "ResourceFolder.h"

#include <filesystem>

namespace fs = std::filesystem;

std::string ModuleName(const std::string& modulePath) {
  return fs::path(modulePath).stem().string();
}

std::string ResourceFolder(const std::string& modulePath) {
  fs::path moduleFolder = fs::absolute(modulePath).parent_path();
  std::error_code error;
  if (fs::is_directory(moduleFolder / "games" / ModuleName(modulePath), error)) {
    return moduleFolder.string();
  }
  return fs::current_path().string();
}

std::string IconPath(IGame& game, const std::string& modulePath) {
  std::string folder = game.path != nullptr ? game.path : "";
  fs::path beside = fs::path(folder) / game.GetIcon();
  fs::path withResources = fs::path(folder) / "games" / ModuleName(modulePath) / game.GetIcon();
  std::error_code error;
  if (!fs::exists(beside, error) && fs::exists(withResources, error)) {
    return withResources.string();
  }
  return beside.string();
}
