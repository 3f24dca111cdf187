#include "ProcessInfo.h"

#include <windows.h>
// After windows.h, which they need.
#include <malloc.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <filesystem>

namespace {

// Committed memory of the process's own, the figure that grows when it
// leaks; the working set also counts shared pages of libraries.
long PrivateKilobytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(),
                            reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof counters)) {
    return 0;
  }
  return long(counters.PrivateUsage / 1024);
}

}  // namespace

long ResidentKilobytes() {
  return PrivateKilobytes();
}

long SettledResidentKilobytes() {
  _heapmin();
  return PrivateKilobytes();
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

std::string ExecutableFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length == sizeof path) return std::filesystem::current_path().string();
  return std::filesystem::path(path).parent_path().string();
}
