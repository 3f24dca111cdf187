#include "Isolated.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

// Shared between the parent and the child: the child writes, the parent
// reads once the child has ended or been stopped.
struct SharedRecord {
  char doing[512];                     // the call or step, as described
  std::atomic<int64_t> callStartedNs;  // steady clock; 0 outside a call
  bool afterCall;                      // `doing` is a call that has returned
  long workThread;                     // the child's own thread
  long crashedThread;                  // the thread a crash signal came on
  bool passed;
  size_t detailLength;
  char detail[8192];
};

namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t kOutputTail = 2000;

int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
      .count();
}

long CurrentThread() {
  return syscall(SYS_gettid);
}

// The child's record, for the crash handler.
SharedRecord* childRecord = nullptr;

void NoteCrashingThread(int signal) {
  if (childRecord != nullptr) childRecord->crashedThread = CurrentThread();
  // The handler was reset on entry: the signal now ends the child as it would.
  raise(signal);
}

void Describe(SharedRecord& record, const std::string& doing) {
  record.doing[doing.copy(record.doing, sizeof record.doing - 1)] = '\0';
}

// Where the child was, for a failure: "in Update at frame 3" in a call,
// "just after ..." once it returned, or the step as described.
std::string Where(const SharedRecord& record, bool inCall) {
  if (record.doing[0] == '\0') return "";
  if (inCall) return std::string(" in ") + record.doing;
  if (record.afterCall) return std::string(" just after ") + record.doing + " returned";
  return std::string(" ") + record.doing;
}

std::string Crashed(const SharedRecord& record, int signal, bool inCall) {
  std::string what =
      "crashed with signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
  if (record.crashedThread != 0 && record.crashedThread != record.workThread) {
    return what + " on a thread that is not the host's (one the module started, or Allegro's" +
           " timer thread calling the module)," + Where(record, inCall);
  }
  return what + Where(record, inCall);
}

std::string Tail(int file) {
  off_t size = lseek(file, 0, SEEK_END);
  off_t from = size > off_t(kOutputTail) ? size - off_t(kOutputTail) : 0;
  std::string text(size_t(size - from), '\0');
  ssize_t got = pread(file, text.data(), text.size(), from);
  text.resize(got > 0 ? size_t(got) : 0);
  return from > 0 ? "..." + text : text;
}

// The child's stdout and stderr go to a file the parent reads; stdin is empty.
void RedirectOutput(int file) {
  int nothing = open("/dev/null", O_RDONLY);
  if (nothing >= 0) dup2(nothing, STDIN_FILENO);
  dup2(file, STDOUT_FILENO);
  dup2(file, STDERR_FILENO);
}

}  // namespace

void Progress::Call(const std::string& call) {
  Describe(record_, call);
  record_.afterCall = false;
  record_.callStartedNs = NowNs();
}

void Progress::Returned() {
  record_.callStartedNs = 0;
  record_.afterCall = true;
}

void Progress::Step(const std::string& step) {
  record_.callStartedNs = 0;
  record_.afterCall = false;
  Describe(record_, step);
}

void Progress::WatchCrashes() {
  struct sigaction action {};
  action.sa_handler = NoteCrashingThread;
  action.sa_flags = SA_RESETHAND | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) sigaction(signal, &action, nullptr);
}

Verdict RunIsolated(const std::function<Verdict(Progress&)>& work, Limits limits) {
  const int protection = PROT_READ | PROT_WRITE, sharing = MAP_SHARED | MAP_ANONYMOUS;
  // An anonymous mapping has no file: its descriptor is -1 by convention.
  // cppcheck-suppress invalidFunctionArg
  void* shared = mmap(nullptr, sizeof(SharedRecord), protection, sharing, -1, 0);
  if (shared == MAP_FAILED) return {false, "can't share memory with a child process", ""};
  // (cppcheck does not see placement new construct the record.)
  // cppcheck-suppress legacyUninitvar
  SharedRecord* record = ::new (shared) SharedRecord();
  char outputName[] = "/tmp/gamehost-output-XXXXXX";
  int output = mkstemp(outputName);
  if (output >= 0) unlink(outputName);
  std::fflush(nullptr);
  pid_t child = fork();
  if (child < 0) {
    if (output >= 0) close(output);
    munmap(shared, sizeof(SharedRecord));
    return {false, "can't start a child process", ""};
  }
  if (child == 0) {
    if (output >= 0) RedirectOutput(output);
    childRecord = record;
    record->workThread = CurrentThread();
    Progress progress(*record);
    Verdict verdict = work(progress);
    record->detailLength = verdict.detail.copy(record->detail, sizeof record->detail);
    record->passed = verdict.passed;
    std::fflush(nullptr);
    _exit(0);  // no exit handlers: they belong to the parent's libraries
  }

  const auto started = Clock::now();
  std::string limitPassed;
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    int64_t callStarted = record->callStartedNs;
    if (callStarted != 0 && NowNs() - callStarted > int64_t(limits.callSeconds) * 1000000000) {
      limitPassed = "did not return within " + std::to_string(limits.callSeconds) + " s: hung" +
                    Where(*record, true);
    } else if (Clock::now() - started > std::chrono::seconds(limits.workSeconds)) {
      limitPassed = "was still running after " + std::to_string(limits.workSeconds) + " s" +
                    Where(*record, callStarted != 0);
    } else {
      continue;
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    break;
  }

  Verdict verdict;
  const bool inCall = record->callStartedNs != 0;
  if (!limitPassed.empty()) {
    verdict.detail = limitPassed;
  } else if (WIFSIGNALED(status)) {
    verdict.detail = Crashed(*record, WTERMSIG(status), inCall);
  } else if (WEXITSTATUS(status) != 0 || record->detailLength == 0) {
    verdict.detail = "ended the process with exit status " + std::to_string(WEXITSTATUS(status)) +
                     Where(*record, inCall) +
                     (inCall ? " (a module must never exit its host)" : "");
  } else {
    verdict.passed = record->passed;
    verdict.detail.assign(record->detail, record->detailLength);
  }
  if (output >= 0) {
    verdict.output = Tail(output);
    close(output);
  }
  record->~SharedRecord();
  munmap(shared, sizeof(SharedRecord));
  return verdict;
}
