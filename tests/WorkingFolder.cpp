#include "WorkingFolder.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

WorkingFolder::WorkingFolder() : previous_(fs::current_path()) {
  std::string pattern = (fs::temp_directory_path() / "flintmoor-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  fs::current_path(path_);
}

WorkingFolder::~WorkingFolder() {
  fs::current_path(previous_);
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void WorkingFolder::PutDatafile(const std::string& bytes) const {
  fs::create_directories(fs::path(path_) / "games/flintmoor");
  std::ofstream(fs::path(path_) / "games/flintmoor/flintmoor.dat", std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}
