#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "ChildRecord.h"
#include "ProcessInfo.h"
#include "StopSignals.h"
#include "System.h"

namespace {

constexpr size_t kOutputTail = 2000;

long CurrentThread() {
  return syscall(SYS_gettid);
}

// The child's record, for the crash handler.
SharedRecord* childRecord = nullptr;

void NoteCrash(int signal, siginfo_t* info, void*) {
  if (childRecord != nullptr) {
    childRecord->crashedThread = CurrentThread();
    if (signal == SIGSEGV || signal == SIGBUS) {
      childRecord->crashAddress = reinterpret_cast<uintptr_t>(info->si_addr);
    }
  }
  // The handler was reset on entry: the signal now ends the child as it would.
  raise(signal);
}

std::string Tail(int file) {
  off_t size = lseek(file, 0, SEEK_END);
  off_t from = size > off_t(kOutputTail) ? size - off_t(kOutputTail) : 0;
  std::string text(size_t(size - from), '\0');
  ssize_t got = pread(file, text.data(), text.size(), from);
  text.resize(got > 0 ? size_t(got) : 0);
  return from > 0 ? "..." + text : text;
}

// The record a child shares with its parent, in memory both see.
class SharedMapping {
 public:
  SharedMapping() {
    const int protection = PROT_READ | PROT_WRITE, sharing = MAP_SHARED | MAP_ANONYMOUS;
    // An anonymous mapping has no file: its descriptor is -1 by convention.
    // cppcheck-suppress invalidFunctionArg
    void* shared = mmap(nullptr, sizeof(SharedRecord), protection, sharing, -1, 0);
    // (cppcheck does not see placement new construct the record.)
    // cppcheck-suppress legacyUninitvar
    if (shared != MAP_FAILED) record_ = ::new (shared) SharedRecord();
  }
  ~SharedMapping() {
    if (record_ == nullptr) return;
    record_->~SharedRecord();
    munmap(record_, sizeof(SharedRecord));
  }
  SharedMapping(const SharedMapping&) = delete;
  SharedMapping& operator=(const SharedMapping&) = delete;
  SharedRecord* Record() const { return record_; }

 private:
  SharedRecord* record_ = nullptr;
};

// In the child just forked by `parent`: a process group of its own, which a
// module that signals its group takes down instead of the parent, and which
// ends whole; and `signal` when the parent ends, however it ends (killed, a
// group it is not in), so that no child, a window or a hung check, outlives
// gamehost. (The parent forks from its one thread, whose end this watches.)
void OwnGroup(pid_t parent, int signal) {
  setpgid(0, 0);
  prctl(PR_SET_PDEATHSIG, signal);
  if (getppid() != parent) raise(signal);  // it ended before the line above
}

// Ends the child's whole process group now, and waits for the child.
void EndGroup(pid_t child, int& status) {
  kill(-child, SIGKILL);
  waitpid(child, &status, 0);
}

// How a child the parent waited for ended.
void EndingOf(int status, Ending& ending) {
  if (WIFSIGNALED(status)) {
    const int signal = WTERMSIG(status);
    ending.crash = "signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
  } else {
    ending.exitStatus = WEXITSTATUS(status);
  }
}

// The child's stdout and stderr go to a file the parent reads; stdin is empty.
void RedirectOutput(int file) {
  int nothing = open(NullDevice(), O_RDONLY);
  if (nothing >= 0) dup2(nothing, STDIN_FILENO);
  dup2(file, STDOUT_FILENO);
  dup2(file, STDERR_FILENO);
}

}  // namespace

void Progress::WatchCrashes() {
  struct sigaction action {};
  action.sa_sigaction = NoteCrash;
  action.sa_flags = SA_SIGINFO | SA_RESETHAND | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) sigaction(signal, &action, nullptr);
}

Verdict RunInChild(const ChildWork& work, Limits limits) {
  const SharedMapping shared;
  SharedRecord* record = shared.Record();
  if (record == nullptr) return {false, "can't share memory with a child process", "", false};
  char outputName[] = "/tmp/gamehost-output-XXXXXX";
  int output = mkstemp(outputName);
  if (output >= 0) unlink(outputName);
  std::fflush(nullptr);
  const int64_t started = NowNs();
  const pid_t parent = getpid();
  pid_t child = fork();
  if (child < 0) {
    if (output >= 0) close(output);
    return {false, "can't start a child process", "", false};
  }
  if (child == 0) {
    // What the module's processes leave behind stays the child's to see.
    OwnGroup(parent, SIGKILL);
    AdoptOrphans();
    ReleaseStopSignals();  // the validator's to catch, not the module's
    if (output >= 0) RedirectOutput(output);
    childRecord = record;
    DoWork(work, *record, CurrentThread());
    std::fflush(nullptr);
    _exit(0);  // no exit handlers: they belong to the parent's libraries
  }

  setpgid(child, child);  // (the child does too: whichever runs first)
  Ending ending;
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ending.stopped = PastLimit(*record, started, limits);
    if (ending.stopped.empty()) continue;
    EndGroup(child, status);
    break;
  }
  kill(-child, SIGKILL);  // whatever of its group is left
  EndingOf(status, ending);
  Verdict verdict = Judge(*record, ending);
  if (output >= 0) {
    verdict.output = Tail(output);
    close(output);
  }
  return verdict;
}

Verdict ServeChildWork(const ChildWork& work) {
  // Children here are forks: only a person starts this, to watch one piece
  // of work in this process (in a debugger, say).
  SharedRecord record{};
  DoWork(work, record, CurrentThread());
  return Judge(record, Ending{});
}

Supervised RunSupervised(const SupervisedWork& work, int callSeconds) {
  const SharedMapping shared;
  SharedRecord* record = shared.Record();
  if (record == nullptr) return {true, 0, "can't share memory with a child process"};
  std::fflush(nullptr);
  const int64_t started = NowNs();
  const pid_t parent = getpid();
  const pid_t child = fork();
  if (child < 0) return {true, 0, "can't start a child process"};
  if (child == 0) {
    // Ctrl-C at a terminal reaches it through the parent; a parent killed
    // asks it to stop as a stop signal does, keeping the record.
    OwnGroup(parent, SIGTERM);
    childRecord = record;
    record->workThread = CurrentThread();
    Progress progress(*record);
    const int status = work.run(progress);
    std::fflush(nullptr);
    EndAsStopped();
    _exit(status);
  }
  setpgid(child, child);
  // Ample time to keep a record and let go of the display once asked to stop.
  constexpr int64_t kStoppingNs = 20LL * 1000000000;
  const Limits limits{INT32_MAX, callSeconds};
  int passedOn = 0, status = 0;
  int64_t askedAt = 0;
  Ending ending;
  while (waitpid(child, &status, WNOHANG) == 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (StopRequested() != 0 && passedOn == 0) {
      passedOn = StopRequested();
      askedAt = NowNs();
      kill(child, passedOn);
    }
    if (passedOn != 0) {
      if (NowNs() - askedAt < kStoppingNs) continue;
      ending.stopped = "did not end within 20 s of being asked to stop";
    } else {
      ending.stopped = PastLimit(*record, started, limits);
      if (ending.stopped.empty()) continue;
    }
    EndGroup(child, status);
    break;
  }
  kill(-child, SIGKILL);  // whatever of its group is left
  EndingOf(status, ending);
  // Ended by the stop signal passed on: as asked.
  if (passedOn != 0 && ending.stopped.empty() && WIFSIGNALED(status))
    return {false, 128 + passedOn, ""};
  const bool inCall = record->callStartedNs != 0;
  if (ending.stopped.empty() && ending.crash.empty() && !inCall)
    return {false, ending.exitStatus, ""};
  return {true, 0, Judge(*record, ending).detail};
}

int ServeSupervisedWork(const SupervisedWork& work) {
  SharedRecord record{};
  Progress progress(record);
  return work.run(progress);
}
