// What a folder holds, all the way down, and in the folders its links
// show: each file's size and time of last change, to tell
// afterwards what was written there.
#ifndef FLINTMOOR_HOST_FOLDERSNAPSHOT_H
#define FLINTMOOR_HOST_FOLDERSNAPSHOT_H

#include <cstdint>
#include <map>
#include <string>
#include <utility>

class FolderSnapshot {
 public:
  // Nothing, when there is no such folder.
  explicit FolderSnapshot(const std::string& folder);
  // What differs now, as "saves/score.txt (new), colour.txt (changed)";
  // empty when nothing does.
  std::string Changes() const;

 private:
  using Files = std::map<std::string, std::pair<uintmax_t, int64_t>>;
  static Files Read(const std::string& folder);
  std::string folder_;
  Files files_;
};

#endif
