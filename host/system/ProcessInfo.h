// What the system tells about this process: the one place that reads it.
#ifndef FLINTMOOR_HOST_PROCESSINFO_H
#define FLINTMOOR_HOST_PROCESSINFO_H

#include <chrono>
#include <string>
#include <utility>
#include <vector>

// Memory of the process in RAM now, in kilobytes; 0 when unknown.
long ResidentKilobytes();

// The same once the allocator has handed its free memory back to the system,
// so that what is still held shows and what was freed does not.
long SettledResidentKilobytes();

// Threads of the process now; 0 when unknown.
int ThreadCount();

// The running program's file; empty when unknown.
std::string ExecutablePath();

// How long a stretch of this thread's own work took, leaving out the time
// other processes took from it on a busy machine: the thread's CPU time,
// unless it waited of its own accord (slept, blocked) in the stretch, when
// all the time counts. Where the system can't tell them apart, the time on
// the clock.
class WorkTimer {
 public:
  WorkTimer();
  double ElapsedMs() const;

 private:
  std::chrono::steady_clock::time_point wall_;
  double cpuMs_ = 0;
  long waits_ = 0;
};

// File descriptors (handles, on Windows) the process has open now; 0 when
// unknown.
int OpenDescriptorCount();

// The process's children now, by process id; on Linux also the orphans of
// its descendants, which AdoptOrphans makes its own.
std::vector<long> ChildProcesses();
void AdoptOrphans();

// What of the process belongs to the host and may be changed behind its
// back: the signal mask and how each signal is handled, what the standard
// input, output and error are, the environment. Each entry a thing named
// in words, and its state; an entry named with {} in it is a list of such
// things, its state a line each, KEY TAB STATE, read as the entry named
// with KEY in place of {}.
using ProcessState = std::vector<std::pair<std::string, std::string>>;
ProcessState HostOwnedProcessState();

// The environment's variables (environ) as such a list: NAME TAB "VALUE".
std::string EnvironmentLines(char** variables);

#endif
