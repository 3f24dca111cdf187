// Runs a shell command for a test and keeps what it printed.
#ifndef FLINTMOOR_TESTS_COMMAND_H
#define FLINTMOOR_TESTS_COMMAND_H

#include <string>

struct Outcome {
  int status;          // exit status, or -1 when it did not exit normally
  std::string output;  // stdout and stderr together
};

Outcome RunCommand(const std::string& command);

// Whether the output holds the text, for readable assertions.
inline bool Says(const Outcome& outcome, const std::string& text) {
  return outcome.output.find(text) != std::string::npos;
}

#endif
