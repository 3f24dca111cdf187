// What the system tells about this process: the one place that reads it.
#ifndef FLINTMOOR_HOST_PROCESSINFO_H
#define FLINTMOOR_HOST_PROCESSINFO_H

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

// File descriptors (handles, on Windows) the process has open now; 0 when
// unknown.
int OpenDescriptorCount();

// The process's children now, by process id; on Linux also the orphans of
// its descendants, which AdoptOrphans makes its own.
std::vector<long> ChildProcesses();
void AdoptOrphans();

// What of the process belongs to the host and may be changed behind its
// back: how each signal is handled, what the standard input, output and
// error are. Each entry a thing named in words, and its state.
using ProcessState = std::vector<std::pair<std::string, std::string>>;
ProcessState HostOwnedProcessState();

#endif
