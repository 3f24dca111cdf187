#include "ProcessInfo.h"

#include <windows.h>
// After windows.h, which they need.
#include <malloc.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Wide.h"

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
  // Long enough for any path the system allows.
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
  if (length == 0 || length >= path.size()) return "";
  path.resize(length);
  return Utf8(path);
}

// The thread's processor time comes in 15.6 ms steps here: the clock it is.
WorkTimer::WorkTimer() : wall_(std::chrono::steady_clock::now()) {}

double WorkTimer::ElapsedMs() const {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall_)
      .count();
}

int OpenDescriptorCount() {
  DWORD handles = 0;
  return GetProcessHandleCount(GetCurrentProcess(), &handles) ? int(handles) : 0;
}

std::vector<long> ChildProcesses() {
  std::vector<long> children;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return children;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (bool more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ParentProcessID == GetCurrentProcessId())
      children.push_back(long(entry.th32ProcessID));
  }
  CloseHandle(snapshot);
  return children;
}

// Windows re-parents no one: a child's children stay its own.
void AdoptOrphans() {}

// No signals to hand out: the standard handles and the environment are what
// a module can take.
ProcessState HostOwnedProcessState() {
  ProcessState state;
  const std::pair<DWORD, const char*> streams[] = {{STD_INPUT_HANDLE, "standard input"},
                                                   {STD_OUTPUT_HANDLE, "standard output"},
                                                   {STD_ERROR_HANDLE, "standard error"}};
  for (const auto& [which, name] : streams) {
    char handle[32];
    std::snprintf(handle, sizeof handle, "handle %p", static_cast<void*>(GetStdHandle(which)));
    state.emplace_back(name, handle);
  }
  state.emplace_back("the environment variable {} (_putenv)", EnvironmentLines(_environ));
  return state;
}
