// gamehost --validate: checks that a game module keeps the IGame contract.
#ifndef FLINTMOOR_HOST_VALIDATOR_H
#define FLINTMOOR_HOST_VALIDATOR_H

#include <string>
#include <vector>

// What to validate, and how (gamehost's options).
struct ValidatorSettings {
  std::string module;
  bool json = false;              // the results as JSON
  unsigned seed = 1;              // of the mouse input
  std::vector<std::string> only;  // the checks to run, in their order; empty: all
  // Set only in a child process started to run one piece of the
  // validator's work, on systems where it can't be a fork (see
  // ChildProcess.h).
  std::string childWork;
};

// Runs every check, each in a child process with a time limit, prints one
// line a check and a summary (or JSON), and answers the exit status: 0 when
// all passed, kExitValidationFailed otherwise. Must run before Allegro starts.
int RunValidator(const ValidatorSettings& settings);

// Prints each check's name and the promise it holds a module to (as JSON
// when asked); answers the exit status.
int ListChecks(bool json);

#endif
