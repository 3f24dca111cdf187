// gamehost's command line.
#ifndef FLINTMOOR_HOST_OPTIONS_H
#define FLINTMOOR_HOST_OPTIONS_H

#include <string>

struct Options {
  std::string module;  // empty: the flintmoor module beside gamehost
  bool info = false;
  bool autoplay = false;
  bool fullscreen = false;
  bool verbose = false;
  bool validate = false;
  bool json = false;
  bool noSave = false;  // keep no best scores
  int fps = 60;
  long frames = 0;   // 0: until the player quits
  int escapes = 10;  // escapes that end a round; 0: endless
  int scale = 0;     // the window's whole-number scale; 0: the largest that fits
  unsigned seed = 1;
  std::string screenshot;
  // Set only in a child process started to run one piece of the validator's
  // work, on systems where it can't be a fork (see Isolated.h).
  std::string isolatedWork;
};

std::string Usage();

// Throws HostError(kExitUsage) on a bad command line.
Options ParseOptions(int argc, char** argv);

#endif
