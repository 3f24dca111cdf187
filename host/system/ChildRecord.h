// What a child process doing a piece of work shares with its parent, and
// how the parent judges the way the child ended: the same on every system.
#ifndef FLINTMOOR_HOST_CHILDRECORD_H
#define FLINTMOOR_HOST_CHILDRECORD_H

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

#include "ChildProcess.h"

// The child writes, the parent reads once the child has ended or been
// stopped (or, for the call clock, while it runs).
struct SharedRecord {
  char doing[512];                         // the call or step, as described
  std::atomic<int64_t> callStartedNs;      // steady clock; 0 outside a call
  bool afterCall;                          // `doing` is a call that has returned
  long workThread;                         // the child's own thread
  long crashedThread;                      // the thread a crash came on
  uintptr_t crashAddress;                  // the address a memory fault came at, or 0
  uintptr_t takenBackBegin, takenBackEnd;  // memory lent to the module and taken back
  char takenBack[256];                     // what that memory was, as described
  bool passed;
  size_t detailLength;
  char detail[8192];
};

// Nanoseconds on the steady clock, which parent and child share.
int64_t NowNs();

// Why the parent must stop the child now, or empty: a call or the whole work
// has gone past its limit, or gamehost itself was asked to stop. `startedNs` is when the child
// started.
std::string PastLimit(const SharedRecord& record, int64_t startedNs, Limits limits);

// How the child ended, as the system told the parent.
struct Ending {
  std::string stopped;  // set when the parent stopped it: PastLimit's reason
  std::string crash;    // set when it crashed: "signal 11 (...)", "exception ..."
  int exitStatus = 0;
};

Verdict Judge(const SharedRecord& record, const Ending& ending);

// Runs the work against `record` in this process and stores its verdict there.
void DoWork(const ChildWork& work, SharedRecord& record, long thread);

#endif
