// A private working folder for one check: empty but for the module's games/
// folder (a link to it, or a copy where the system has no links), so the
// module finds its resources.
#ifndef FLINTMOOR_HOST_SCRATCHFOLDER_H
#define FLINTMOOR_HOST_SCRATCHFOLDER_H

#include <string>

class ScratchFolder {
 public:
  // An empty temporary folder, showing resources/games as games when
  // `resources` is given and holds one.
  explicit ScratchFolder(const std::string& resources = "");
  // Removes the folder and what is in it.
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

#endif
