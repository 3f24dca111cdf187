#include "HostProcess.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

#include "Command.h"
#include "WorkingFolder.h"

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point After(double seconds) {
  return Clock::now() +
         std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

}  // namespace

HostProcess::HostProcess(const std::string& arguments, const std::string& environment) {
  char pattern[] = "/tmp/gamehost-output-XXXXXX";
  int fd = mkstemp(pattern);
  if (fd < 0) throw std::runtime_error("can't make an output file");
  close(fd);
  outputFile_ = pattern;
  const std::string command = "exec env " + environment + " " + FLINTMOOR_GAMEHOST_PATH + " " +
                              arguments + " >" + outputFile_ + " 2>&1";
  const pid_t test = getpid();
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("can't start gamehost");
  if (pid_ == 0) {
    EndWithParent(test);
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
}

HostProcess::~HostProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  unlink(outputFile_.c_str());
}

bool HostProcess::WaitFor(const std::string& text, double seconds) {
  const auto deadline = After(seconds);
  while (Clock::now() < deadline) {
    if (Output().find(text) != std::string::npos) return true;
    usleep(50 * 1000);
  }
  return false;
}

std::optional<int> HostProcess::Ended(double seconds) {
  const auto deadline = After(seconds);
  int status = 0;
  while (waitpid(pid_, &status, WNOHANG) == 0) {
    if (Clock::now() >= deadline) return std::nullopt;
    usleep(20 * 1000);
  }
  pid_ = -1;
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int HostProcess::Wait(double seconds) {
  if (const std::optional<int> status = Ended(seconds)) return *status;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
  return -1;
}

void HostProcess::Signal(int signal) const {
  if (pid_ > 0) kill(pid_, signal);
}

std::string HostProcess::Output() const {
  return ReadFile(outputFile_);
}
