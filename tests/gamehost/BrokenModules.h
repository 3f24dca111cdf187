// The table of the project's broken test modules (tests/modules/broken.txt):
// each module, the check it must fail and words of that failure.
#ifndef FLINTMOOR_TESTS_BROKENMODULES_H
#define FLINTMOOR_TESTS_BROKENMODULES_H

#include <ostream>
#include <string>
#include <vector>

struct BrokenModule {
  std::string name;                                // test_NAME.so
  std::string check;                               // the check it fails
  std::vector<std::string> words;                  // each somewhere in the report, on this system
  bool memory = false;                             // judged only without AddressSanitizer
  bool hangs = false;                              // it really hangs
  bool valgrind = false;                           // caught under valgrind's memcheck
  std::vector<std::string> alsoFails, alsoPasses;  // other checks of its whole report
};

// The table's rows for this system (rows marked linux are Linux's alone), with
// the words meant for it.
std::vector<BrokenModule> ReadBrokenModules(const std::string& file);

inline void PrintTo(const BrokenModule& module, std::ostream* out) {
  *out << module.name;
}

#endif
