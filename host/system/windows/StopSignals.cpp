#include "StopSignals.h"

#include <windows.h>

#include <atomic>

namespace {

// The console's Ctrl-C, Ctrl-Break and closing, as POSIX would number them.
std::atomic<int> requested{0};

BOOL WINAPI Request(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      requested = 2;
      return TRUE;
    case CTRL_CLOSE_EVENT:
      requested = 1;
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void CatchStopSignals() {
  SetConsoleCtrlHandler(Request, TRUE);
}

void ReleaseStopSignals() {
  SetConsoleCtrlHandler(Request, FALSE);
}

int StopRequested() {
  return requested;
}

void EndAsStopped() {
  if (requested != 0) ExitProcess(STATUS_CONTROL_C_EXIT);
}

// Allegro for Windows leaves the console's handlers alone.
StopSignalsHeld::StopSignalsHeld() = default;
StopSignalsHeld::~StopSignalsHeld() = default;
