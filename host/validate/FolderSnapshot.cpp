#include "FolderSnapshot.h"

#include <filesystem>

namespace fs = std::filesystem;

FolderSnapshot::FolderSnapshot(const std::string& folder) : folder_(folder), files_(Read(folder)) {}

FolderSnapshot::Files FolderSnapshot::Read(const std::string& folder) {
  Files files;
  std::error_code error;
  const fs::path root = fs::u8path(folder);
  for (fs::recursive_directory_iterator entry(root, error), end; !error && entry != end;
       entry.increment(error)) {
    std::error_code ignored;
    const std::string name = entry->path().lexically_relative(root).generic_u8string();
    const uintmax_t size = entry->is_regular_file(ignored) ? entry->file_size(ignored) : 0;
    const int64_t changed = entry->last_write_time(ignored).time_since_epoch().count();
    files[name] = {size, changed};
  }
  return files;
}

std::string FolderSnapshot::Changes() const {
  const Files now = Read(folder_);
  std::string changes;
  auto add = [&](const std::string& name, const char* how) {
    changes += (changes.empty() ? "" : ", ") + name + " (" + how + ")";
  };
  for (const auto& [name, state] : now) {
    auto before = files_.find(name);
    if (before == files_.end()) {
      add(name, "new");
    } else if (before->second != state) {
      add(name, "changed");
    }
  }
  for (const auto& [name, state] : files_) {
    if (now.count(name) == 0) add(name, "removed");
  }
  return changes;
}
