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
