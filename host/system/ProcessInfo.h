// What the system tells about this process: the one place that reads it.
#ifndef FLINTMOOR_HOST_PROCESSINFO_H
#define FLINTMOOR_HOST_PROCESSINFO_H

#include <string>

// Memory of the process in RAM now, in kilobytes; 0 when unknown.
long ResidentKilobytes();

// The same once the allocator has handed its free memory back to the system,
// so that what is still held shows and what was freed does not.
long SettledResidentKilobytes();

// Threads of the process now; 0 when unknown.
int ThreadCount();

// The running program's file; empty when unknown.
std::string ExecutablePath();

#endif
