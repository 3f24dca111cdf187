#include "StopSignals.h"

#include <pthread.h>
#include <signal.h>

#include <iterator>

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile sig_atomic_t requested = 0;
// What the stop signals did before a StopSignalsHeld (one at a time).
struct sigaction heldActions[std::size(kStopSignals)];

void Request(int signal) {
  requested = signal;
}

sigset_t StopSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : kStopSignals) sigaddset(&set, signal);
  return set;
}

}  // namespace

void CatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = Request;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : kStopSignals) sigaction(signal, &action, nullptr);
}

void ReleaseStopSignals() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (int signal : kStopSignals) sigaction(signal, &action, nullptr);
}

int StopRequested() {
  return requested;
}

void EndAsStopped() {
  const int signal = requested;
  if (signal == 0) return;
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
  const sigset_t set = StopSet();
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
  raise(signal);
}

StopSignalsHeld::StopSignalsHeld() {
  const sigset_t set = StopSet();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  for (size_t i = 0; i < std::size(kStopSignals); ++i) {
    sigaction(kStopSignals[i], nullptr, &heldActions[i]);
  }
}

StopSignalsHeld::~StopSignalsHeld() {
  for (size_t i = 0; i < std::size(kStopSignals); ++i) {
    sigaction(kStopSignals[i], &heldActions[i], nullptr);
  }
  const sigset_t set = StopSet();
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}
