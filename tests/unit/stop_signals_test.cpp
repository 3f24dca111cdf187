// Allegro's start installs its own handlers for the stop signals, which shut
// it down under the running program, or abort it when that can't be done at
// once: a stop signal must do afterwards what it did before.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "AllegroStart.h"
#include "StopSignals.h"

namespace {

using Handler = void (*)(int);

Handler HandlerOf(int signal) {
  struct sigaction action {};
  sigaction(signal, nullptr, &action);
  return action.sa_handler;
}

// Runs `body` in a child process, whose Allegro and signals are its own,
// and answers its exit status.
template <typename Body>
int InChild(Body body) {
  const pid_t child = fork();
  if (child == 0) _exit(body());
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(StopSignalsTest, AllegrosStartLeavesThemAsTheyWere) {
  // A check's child: the system's, and one ignored as nohup leaves it.
  EXPECT_EQ(InChild([] {
              ReleaseStopSignals();
              signal(SIGHUP, SIG_IGN);
              if (!StartAllegroLibrary()) return 2;
              return HandlerOf(SIGTERM) == SIG_DFL && HandlerOf(SIGINT) == SIG_DFL &&
                             HandlerOf(SIGHUP) == SIG_IGN
                         ? 0
                         : 1;
            }),
            0);
  // gamehost: a stop signal is a request to stop, not the end.
  EXPECT_EQ(InChild([] {
              CatchStopSignals();
              if (!StartAllegroLibrary()) return 2;
              raise(SIGTERM);
              return StopRequested() == SIGTERM ? 0 : 1;
            }),
            0);
}

}  // namespace
