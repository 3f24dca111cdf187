// Temporary folders for tests, and running a test from one, the way a host
// started elsewhere would.
#ifndef FLINTMOOR_TESTS_WORKINGFOLDER_H
#define FLINTMOOR_TESTS_WORKINGFOLDER_H

#include <string>

// A fresh empty temporary folder, removed afterwards with all in it.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// A temporary folder that is the working folder while it lives; the
// original one is the working folder again afterwards.
class WorkingFolder : public TemporaryFolder {
 public:
  WorkingFolder();
  ~WorkingFolder();
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;

  // Writes the game's datafile location inside this folder from given bytes.
  void PutDatafile(const std::string& bytes) const;

 private:
  std::string previous_;
};

// The whole content of a file, or empty when it can't be read.
std::string ReadFile(const std::string& path);

#endif
