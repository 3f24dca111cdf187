#include "PrivateDisplay.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "System.h"

namespace {

constexpr int kStartMs = 10000;
constexpr int kDisplayFd = 3;  // where Xvfb writes the display number it took

[[noreturn]] void NoDisplay(const std::string& why) {
  throw std::runtime_error("no display: " + why);
}

}  // namespace

PrivateDisplay::PrivateDisplay() {
  const char* display = std::getenv("DISPLAY");
  if (display != nullptr && *display != '\0') return;
  std::string xvfb = FindProgram("Xvfb");
  if (xvfb.empty()) {
    NoDisplay(
        "DISPLAY is not set and Xvfb is not installed (apt-get install xvfb, or run under "
        "xvfb-run)");
  }
  int number[2];
  if (pipe(number) != 0) NoDisplay("can't make a pipe for Xvfb");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, number[1], kDisplayFd);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const std::string fd = std::to_string(kDisplayFd);
  // -noreset: by default Xvfb resets when its last client leaves, and
  // refuses whoever connects in that moment: the next check's child.
  const char* arguments[] = {xvfb.c_str(),  "-displayfd", fd.c_str(), "-screen",  "0",
                             "1024x768x24", "-nolisten",  "tcp",      "-noreset", nullptr};
  int failed = posix_spawn(&server_, xvfb.c_str(), &actions, nullptr,
                           const_cast<char* const*>(arguments), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(number[1]);
  std::string answer;
  pollfd readable{number[0], POLLIN, 0};
  char chunk[32];
  ssize_t got = 0;
  while (failed == 0 && answer.find('\n') == std::string::npos &&
         poll(&readable, 1, kStartMs) > 0 && (got = read(number[0], chunk, sizeof chunk)) > 0) {
    answer.append(chunk, size_t(got));
  }
  close(number[0]);
  if (failed != 0 || answer.find('\n') == std::string::npos) {
    if (failed == 0) {
      kill(server_, SIGTERM);
      waitpid(server_, nullptr, 0);
    }
    server_ = -1;
    NoDisplay("DISPLAY is not set and " + xvfb + " did not start");
  }
  setenv("DISPLAY", (":" + answer.substr(0, answer.find('\n'))).c_str(), 1);
}

PrivateDisplay::~PrivateDisplay() {
  if (server_ <= 0) return;
  kill(server_, SIGTERM);
  waitpid(server_, nullptr, 0);
  unsetenv("DISPLAY");
}
