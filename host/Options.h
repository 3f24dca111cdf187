// gamehost's command line.
#ifndef FLINTMOOR_HOST_OPTIONS_H
#define FLINTMOOR_HOST_OPTIONS_H

#include <string>

struct Options {
  std::string module;  // empty: the flintmoor.so beside gamehost
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
};

extern const char* const kUsage;

// Throws HostError(kExitUsage) on a bad command line.
Options ParseOptions(int argc, char** argv);

#endif
