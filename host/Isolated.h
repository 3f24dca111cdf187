// Runs a piece of work in a child process with a time limit, so that a crash
// or a hang in it is reported instead of taking the caller down.
#ifndef FLINTMOOR_HOST_ISOLATED_H
#define FLINTMOOR_HOST_ISOLATED_H

#include <functional>
#include <string>

struct Verdict {
  bool passed = false;
  std::string detail;
};

// `work` runs in a fork of this process and answers its verdict; a signal,
// an exit without a verdict or going past `seconds` is a failure. The caller
// must not have started threads (Allegro included): the child has only one.
Verdict RunIsolated(const std::function<Verdict()>& work, int seconds);

#endif
