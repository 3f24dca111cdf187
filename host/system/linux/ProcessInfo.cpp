#include "ProcessInfo.h"

#include <fcntl.h>
#include <malloc.h>
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "SharedLibrary.h"

namespace fs = std::filesystem;

long ResidentKilobytes() {
  long pages = 0, resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

long SettledResidentKilobytes() {
  malloc_trim(0);
  return ResidentKilobytes();
}

int ThreadCount() {
  std::error_code error;
  int threads = 0;
  for (fs::directory_iterator task("/proc/self/task", error), end; !error && task != end;
       task.increment(error)) {
    ++threads;
  }
  return threads;
}

std::string ExecutablePath() {
  std::error_code error;
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? "" : self.string();
}

namespace {

double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) * 1000 + double(now.tv_nsec) / 1e6;
}

// The times the thread gave up the processor of its own accord.
long ThreadWaits() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return usage.ru_nvcsw;
}

}  // namespace

WorkTimer::WorkTimer()
    : wall_(std::chrono::steady_clock::now()), cpuMs_(ThreadCpuMs()), waits_(ThreadWaits()) {}

double WorkTimer::ElapsedMs() const {
  if (ThreadWaits() != waits_) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall_)
        .count();
  }
  return ThreadCpuMs() - cpuMs_;
}

int OpenDescriptorCount() {
  std::error_code error;
  int open = 0;
  for (fs::directory_iterator fd("/proc/self/fd", error), end; !error && fd != end;
       fd.increment(error)) {
    ++open;
  }
  return open > 0 ? open - 1 : 0;  // not the one reading the folder
}

std::vector<long> ChildProcesses() {
  std::vector<long> children;
  std::error_code error;
  const std::string self = std::to_string(getpid());
  for (fs::directory_iterator task("/proc/self/task", error), end; !error && task != end;
       task.increment(error)) {
    std::ifstream listed(task->path() / "children");
    for (long child = 0; listed >> child;) children.push_back(child);
  }
  return children;
}

void AdoptOrphans() {
  prctl(PR_SET_CHILD_SUBREAPER, 1);
}

namespace {

std::string SignalName(int signal) {
  return std::to_string(signal) + " (" + strsignal(signal) + ")";
}

// Appends a list entry's line, KEY TAB STATE, with no line break inside.
void AppendLine(std::string& list, const std::string& key, const char* state) {
  list += key;
  list += '\t';
  for (const char* c = state; *c != '\0'; ++c) list += *c == '\n' ? ' ' : *c;
  list += '\n';
}

}  // namespace

ProcessState HostOwnedProcessState() {
  // Read after every call a module makes: the lists are one string each.
  static const std::vector<std::string> kSignalNames = [] {
    std::vector<std::string> names;
    names.resize(size_t(SIGRTMIN));
    for (int signal = 1; signal < SIGRTMIN; ++signal) names[size_t(signal)] = SignalName(signal);
    return names;
  }();
  ProcessState state;
  sigset_t blocked;
  sigemptyset(&blocked);
  pthread_sigmask(SIG_BLOCK, nullptr, &blocked);
  std::string mask;
  for (int signal = 1; signal < SIGRTMIN; ++signal) {
    if (sigismember(&blocked, signal) == 1) {
      mask += (mask.empty() ? "" : ", ") + kSignalNames[size_t(signal)];
    }
  }
  state.emplace_back("the signal mask (sigprocmask, pthread_sigmask)",
                     mask.empty() ? "none blocked" : mask + " blocked");
  std::string handlers;
  handlers.reserve(2048);
  for (int signal = 1; signal < SIGRTMIN; ++signal) {
    if (signal == SIGKILL || signal == SIGSTOP) continue;
    struct sigaction action {};
    if (sigaction(signal, nullptr, &action) != 0) continue;
    if (action.sa_handler == SIG_DFL) {
      AppendLine(handlers, kSignalNames[size_t(signal)], "default");
    } else if (action.sa_handler == SIG_IGN) {
      AppendLine(handlers, kSignalNames[size_t(signal)], "ignored");
    } else {
      const std::string code =
          "handled by " + SharedLibrary::CodeAt(reinterpret_cast<void*>(action.sa_handler));
      AppendLine(handlers, kSignalNames[size_t(signal)], code.c_str());
    }
  }
  state.emplace_back("the handler of signal {}", std::move(handlers));
  state.emplace_back("the environment variable {} (setenv)", EnvironmentLines(environ));
  const char* streams[] = {"standard input", "standard output", "standard error"};
  for (int fd = 0; fd < 3; ++fd) {
    struct stat info {};
    std::string what = "closed";
    if (fstat(fd, &info) == 0) {
      what = "device " + std::to_string(info.st_dev) + " inode " + std::to_string(info.st_ino) +
             ", flags " + std::to_string(fcntl(fd, F_GETFL));
      std::error_code error;
      const fs::path target = fs::read_symlink("/proc/self/fd/" + std::to_string(fd), error);
      if (!error) what = target.string().append(" (").append(what).append(")");
    }
    state.emplace_back(std::string(streams[fd]) + " (descriptor " + std::to_string(fd) + ")", what);
  }
  return state;
}
