// A child process gamehost starts never outlives it, however gamehost ends:
// a collection's window or a hung check would stay behind with nobody
// watching it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "ChildProcess.h"
#include "ScratchFolder.h"
#include "StopSignals.h"

namespace {

using namespace std::chrono_literals;

// Starts a gamehost-like parent that runs `start` (which starts a child and
// waits for it), kills the parent once the child has written its process id
// to `started`, and answers how the child, adopted by this test, ended.
int ChildEndingAfterItsParentIsKilled(const std::string& started,
                                      const std::function<void()>& start) {
  prctl(PR_SET_CHILD_SUBREAPER, 1);  // the orphaned child is this test's to wait for
  const pid_t parent = fork();
  if (parent == 0) {
    CatchStopSignals();
    start();
    _exit(0);
  }
  pid_t child = 0;
  for (int tries = 0; tries < 500 && child == 0; ++tries) {
    std::this_thread::sleep_for(10ms);
    std::ifstream(started) >> child;
  }
  kill(parent, SIGKILL);
  waitpid(parent, nullptr, 0);
  int status = -1;
  for (int tries = 0; child != 0 && tries < 500; ++tries) {
    if (waitpid(child, &status, WNOHANG) == child) break;
    std::this_thread::sleep_for(10ms);
  }
  if (child != 0 && kill(child, SIGKILL) == 0) {  // it would have stayed
    waitpid(child, nullptr, 0);
    status = -1;
  }
  prctl(PR_SET_CHILD_SUBREAPER, 0);
  return status;
}

void WritePid(const std::string& file) {
  std::ofstream(file) << getpid() << '\n';
}

TEST(ChildProcessTest, ASupervisedChildIsAskedToStopWhenGamehostIsKilled) {
  const ScratchFolder folder;
  const std::string started = folder.Path() + "/started", stopped = folder.Path() + "/stopped";
  const int status = ChildEndingAfterItsParentIsKilled(started, [&] {
    RunSupervised({"collection",
                   [&](Progress&) {
                     WritePid(started);
                     while (StopRequested() == 0) std::this_thread::sleep_for(10ms);
                     std::ofstream(stopped) << "kept what it had to keep\n";
                     return 0;
                   }},
                  60);
  });
  ASSERT_NE(status, -1) << "the child outlived its parent";
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  std::string said;
  std::getline(std::ifstream(stopped), said);
  EXPECT_EQ(said, "kept what it had to keep");
}

TEST(ChildProcessTest, ACheckInAChildEndsWhenTheValidatorIsKilled) {
  const ScratchFolder folder;
  const std::string started = folder.Path() + "/started";
  const int status = ChildEndingAfterItsParentIsKilled(started, [&] {
    RunInChild({"a check that hangs",
                [&](Progress&) -> Verdict {
                  WritePid(started);
                  for (;;) std::this_thread::sleep_for(1s);
                }},
               {600, 600});
  });
  ASSERT_NE(status, -1) << "the child outlived its parent";
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
}

}  // namespace
