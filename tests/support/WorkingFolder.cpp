#include "WorkingFolder.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "System.h"

namespace fs = std::filesystem;

TemporaryFolder::TemporaryFolder() : path_(MakeTemporaryFolder("flintmoor-test-")) {
  if (path_.empty()) throw std::runtime_error("can't make a temporary folder");
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  fs::remove_all(Path(), ignored);
}

WorkingFolder::WorkingFolder() : previous_(fs::current_path().string()) {
  fs::current_path(Path());
}

WorkingFolder::~WorkingFolder() {
  fs::current_path(previous_);
}

void WorkingFolder::PutDatafile(const std::string& bytes) const {
  fs::create_directories(fs::path(Path()) / "games/flintmoor");
  std::ofstream(fs::path(Path()) / "games/flintmoor/flintmoor.dat", std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}
