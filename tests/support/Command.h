// Runs a shell command for a test and keeps what it printed. The shell is the
// system's own: sh on Linux, cmd.exe on Windows; the helpers below write the
// pieces that differ.
#ifndef FLINTMOOR_TESTS_COMMAND_H
#define FLINTMOOR_TESTS_COMMAND_H

#include <sys/types.h>

#include <string>

struct Outcome {
  int status;          // exit status, or -1 when it did not exit normally
  std::string output;  // stdout and stderr together
};

Outcome RunCommand(const std::string& command);

// A word of a command line as the shell reads it whole: a path with spaces.
std::string Quoted(const std::string& word);

// What a command starts with to run in `folder`: "cd FOLDER && ".
std::string InFolder(const std::string& folder);

// What a command starts with to run without the display the tests share, so
// that the validator starts a private one of its own (nothing on Windows,
// where it has none to start).
std::string WithoutDisplay();

#ifndef _WIN32
// Called in a child forked to run beside a test (a gamehost, a window
// manager), with the test's process id: the child is killed when the test's
// process ends, even by a crash, and never outlives it to meet the next test.
void EndWithParent(pid_t test);
#endif

// Whether the output holds the text, for readable assertions.
inline bool Says(const Outcome& outcome, const std::string& text) {
  return outcome.output.find(text) != std::string::npos;
}

#endif
