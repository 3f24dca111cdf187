#include "ProcessInfo.h"

#include <windows.h>
// After windows.h, which they need.
#include <malloc.h>
#include <psapi.h>
#include <tlhelp32.h>

namespace {

// The working set: the process's memory in RAM, as the resident set is
// elsewhere. (Its private commit would be the finer figure, but Wine always
// answers 0 for it.)
long WorkingSetKilobytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return long(counters.WorkingSetSize / 1024);
}

}  // namespace

long ResidentKilobytes() {
  return WorkingSetKilobytes();
}

long SettledResidentKilobytes() {
  _heapmin();
  return WorkingSetKilobytes();
}

int ThreadCount() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  int threads = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (bool more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++threads;
  }
  CloseHandle(snapshot);
  return threads;
}

std::string ExecutablePath() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  return length > 0 && length < sizeof path ? std::string(path, length) : "";
}
