// gamehost running beside a test, which watches what it prints and meets
// it as a person would while it runs.
#ifndef FLINTMOOR_TESTS_HOSTPROCESS_H
#define FLINTMOOR_TESTS_HOSTPROCESS_H

#include <sys/types.h>

#include <string>

class HostProcess {
 public:
  // Starts gamehost with the arguments (a shell command line's words) in
  // the environment given as NAME=value words; its output goes to a file.
  HostProcess(const std::string& arguments, const std::string& environment = "");
  // Kills it if it still runs.
  ~HostProcess();
  HostProcess(const HostProcess&) = delete;
  HostProcess& operator=(const HostProcess&) = delete;

  // Waits until the output holds the text; false after `seconds`.
  bool WaitFor(const std::string& text, double seconds);
  // Waits for the end and answers the exit status; -1 when it did not end
  // within `seconds` (it is killed then) or did not exit normally.
  int Wait(double seconds);
  std::string Output() const;

 private:
  pid_t pid_ = -1;
  std::string outputFile_;
};

#endif
