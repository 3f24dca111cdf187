// gamehost running beside a test, which watches what it prints and meets
// it as a person would while it runs.
#ifndef FLINTMOOR_TESTS_HOSTPROCESS_H
#define FLINTMOOR_TESTS_HOSTPROCESS_H

#include <sys/types.h>

#include <optional>
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
  // Waits for the end and answers its status as a shell shows it: the exit
  // status, or 128 + the signal that ended it; -1 when it did not end
  // within `seconds` (it is killed then).
  int Wait(double seconds);
  // Its status as Wait answers it once it has ended within `seconds`;
  // nothing, and it goes on, when it has not.
  std::optional<int> Ended(double seconds);
  // Sends it a signal.
  void Signal(int signal) const;
  pid_t Pid() const { return pid_; }
  std::string Output() const;

 private:
  pid_t pid_ = -1;
  std::string outputFile_;
};

#endif
