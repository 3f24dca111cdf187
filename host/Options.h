// gamehost's command line: one table of options, from which the parser,
// --help and the manual page are made (and against which a test holds the
// README's).
#ifndef FLINTMOOR_HOST_OPTIONS_H
#define FLINTMOOR_HOST_OPTIONS_H

#include <string>
#include <vector>

#include "Session.h"
#include "Validator.h"

struct Options {
  std::string module;                // a game to play alone, or empty
  std::vector<std::string> folders;  // folders of games to open as the collection
  bool list = false;                 // print the collection
  bool watch = false;                // play each new build of the module
  bool info = false;
  bool validate = false;
  bool listChecks = false;
  SessionSettings play;
  ValidatorSettings check;  // check.module is module's absolute form
};

// An option as --help and the README name it: "--frames", "N" (empty for a
// flag) and its line of help (empty for one only gamehost itself uses).
struct OptionName {
  std::string name, value, help;
};
std::vector<OptionName> OptionNames();

// The rest of what --help says, which the manual page says too: how a
// command line goes, the words it takes besides options (as OptionNames,
// without a value) and the keys.
std::string Synopsis();
std::vector<OptionName> Arguments();
std::string Keys();

std::string Usage();

// Throws HostError(kExitUsage) on a bad command line, HostError(kExitOk)
// with the usage for --help.
Options ParseOptions(int argc, char** argv);

#endif
