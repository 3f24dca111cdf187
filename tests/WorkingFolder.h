// Runs a test from another working folder, the way a host started elsewhere
// would, and returns to the original one afterwards.
#ifndef FLINTMOOR_TESTS_WORKINGFOLDER_H
#define FLINTMOOR_TESTS_WORKINGFOLDER_H

#include <string>

class WorkingFolder {
 public:
  // A fresh empty temporary folder, removed afterwards.
  WorkingFolder();
  ~WorkingFolder();
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;

  const std::string& Path() const { return path_; }
  // Writes the game's datafile location inside this folder from given bytes.
  void PutDatafile(const std::string& bytes) const;

 private:
  std::string previous_;
  std::string path_;
};

// The whole content of a file, or empty when it can't be read.
std::string ReadFile(const std::string& path);

#endif
