// A program this one starts, its standard input, output and error this
// one's: what it prints goes where this program's output goes.
#ifndef FLINTMOOR_HOST_STANDARDHANDLES_H
#define FLINTMOOR_HOST_STANDARDHANDLES_H

#include <windows.h>

inline STARTUPINFOW WithOurStandardHandles() {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  return startup;
}

#endif
