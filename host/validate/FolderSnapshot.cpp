#include "FolderSnapshot.h"

#include <filesystem>

namespace fs = std::filesystem;

FolderSnapshot::FolderSnapshot(const std::string& folder) : folder_(folder), files_(Read(folder)) {}

namespace {

// Each file and folder under `root`, named from `base`.
void ReadInto(const fs::path& root, const fs::path& base,
              std::map<std::string, std::pair<uintmax_t, int64_t>>& files, bool followLinks) {
  std::error_code error;
  for (fs::recursive_directory_iterator entry(root, error), end; !error && entry != end;
       entry.increment(error)) {
    std::error_code ignored;
    const fs::path name = entry->path().lexically_relative(base);
    // A folder changes with what is made in it, which shows by itself.
    const bool file = entry->is_regular_file(ignored);
    const uintmax_t size = file ? entry->file_size(ignored) : 0;
    const int64_t changed = file ? entry->last_write_time(ignored).time_since_epoch().count() : 0;
    files[name.generic_u8string()] = {size, changed};
    // A link to a folder (the working folder's games/<module>/) is looked
    // into as the module sees it; links in what it shows are not followed.
    if (followLinks && entry->is_symlink(ignored) && entry->is_directory(ignored)) {
      ReadInto(entry->path(), base, files, false);
    }
  }
}

}  // namespace

FolderSnapshot::Files FolderSnapshot::Read(const std::string& folder) {
  Files files;
  const fs::path root = fs::u8path(folder);
  ReadInto(root, root, files, true);
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
