// Runs a shell command for a test and keeps what it printed.
#ifndef FLINTMOOR_TESTS_COMMAND_H
#define FLINTMOOR_TESTS_COMMAND_H

#include <sys/types.h>

#include <string>

struct Outcome {
  int status;          // exit status, or -1 when it did not exit normally
  std::string output;  // stdout and stderr together
};

Outcome RunCommand(const std::string& command);

// Called in a child forked to run beside a test (a gamehost, a window
// manager), with the test's process id: the child is killed when the test's
// process ends, even by a crash, and never outlives it to meet the next test.
void EndWithParent(pid_t test);

// Whether the output holds the text, for readable assertions.
inline bool Says(const Outcome& outcome, const std::string& text) {
  return outcome.output.find(text) != std::string::npos;
}

#endif
