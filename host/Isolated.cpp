#include "Isolated.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

void WriteAll(int fd, const std::string& text) {
  for (size_t done = 0; done < text.size();) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += size_t(n);
  }
}

std::string Describe(int status) {
  if (WIFSIGNALED(status)) {
    int signal = WTERMSIG(status);
    return "crashed with signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
  }
  return "exited with status " + std::to_string(WEXITSTATUS(status)) + " without a verdict";
}

}  // namespace

Verdict RunIsolated(const std::function<Verdict()>& work, int seconds) {
  int channel[2];
  if (pipe(channel) != 0) return {false, "can't make a pipe to a child process"};
  std::fflush(nullptr);
  pid_t child = fork();
  if (child < 0) return {false, "can't start a child process"};
  if (child == 0) {
    close(channel[0]);
    Verdict verdict = work();
    WriteAll(channel[1], (verdict.passed ? "1" : "0") + verdict.detail);
    close(channel[1]);
    _exit(0);  // no exit handlers: they belong to the parent's libraries
  }
  close(channel[1]);

  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::seconds(seconds);
  std::string message;
  bool timedOut = false;
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) {
      timedOut = true;
      break;
    }
    pollfd readable{channel[0], POLLIN, 0};
    if (poll(&readable, 1, int(left.count())) <= 0) continue;
    char chunk[512];
    ssize_t n = read(channel[0], chunk, sizeof chunk);
    if (n <= 0) break;  // the child closed its end
    message.append(chunk, size_t(n));
  }
  close(channel[0]);
  if (timedOut) kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);

  if (timedOut) return {false, "did not finish within " + std::to_string(seconds) + " s (hung?)"};
  if (message.empty() || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return {false, Describe(status)};
  }
  return {message[0] == '1', message.substr(1)};
}
