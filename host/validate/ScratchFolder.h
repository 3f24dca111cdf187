// A private working folder for one check: empty but for a games/ folder that
// shows the module's own games/<module>/ alone (a link to it, or a copy where
// the system has no links), so the module finds its resources, and what it
// writes elsewhere in games/ stays in this folder, unseen by another
// validation of the same folder.
#ifndef FLINTMOOR_HOST_SCRATCHFOLDER_H
#define FLINTMOOR_HOST_SCRATCHFOLDER_H

#include <string>

class ScratchFolder {
 public:
  // An empty temporary folder; where `resources` holds a games/ folder, with
  // a games/ of its own showing resources/games/`name` as games/`name`.
  explicit ScratchFolder(const std::string& resources = "", const std::string& name = "");
  // Removes the folder and what is in it.
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

#endif
