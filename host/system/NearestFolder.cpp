#include "NearestFolder.h"

namespace fs = std::filesystem;

fs::path NearestFolder(const fs::path& file) {
  std::error_code error;
  fs::path folder = file.parent_path();
  while (!folder.empty() && !fs::exists(folder, error) && folder != folder.root_path()) {
    folder = folder.parent_path();
  }
  return folder.empty() ? fs::path(".") : folder;
}
