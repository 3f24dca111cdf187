#include <windows.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>

#include "ChildRecord.h"
#include "CommandLine.h"
#include "LastError.h"
#include "ProcessInfo.h"
#include "StandardHandles.h"
#include "StopSignals.h"
#include "System.h"
#include "Wide.h"

namespace {

constexpr size_t kOutputTail = 2000;
// Names the inherited handle of the shared record in a child's environment.
constexpr const char* kRecordVariable = "GAMEHOST_ISOLATED_RECORD";
// Under Wine, its own messages (a missing Vulkan, a MIDI port) go to the
// terminal, among the report's lines: a child keeps them to itself unless
// the user turned some on ("+" in it; Debian's wine sets "fixme-all" where
// the user set nothing). Windows knows nothing of the variable.
constexpr const char* kWineMessagesVariable = "WINEDEBUG";
// The exit status a crash handler ends the child with when abort() was called.
constexpr DWORD kAborted = 3;

// The child's record, for the crash handlers.
SharedRecord* childRecord = nullptr;

// Ends the child at its first crash, noting the thread, before the system
// could show a dialog or start a debugger and keep it waiting.
LONG WINAPI EndAtCrash(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD& crash = *exception->ExceptionRecord;
  if (childRecord != nullptr) {
    childRecord->crashedThread = long(GetCurrentThreadId());
    if (crash.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && crash.NumberParameters >= 2) {
      childRecord->crashAddress = uintptr_t(crash.ExceptionInformation[1]);
    }
  }
  std::fflush(nullptr);
  TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
  return EXCEPTION_CONTINUE_SEARCH;
}

void EndAtAbort(int) {
  if (childRecord != nullptr) childRecord->crashedThread = long(GetCurrentThreadId());
  std::fflush(nullptr);
  TerminateProcess(GetCurrentProcess(), kAborted);
}

void WatchForCrashes() {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(EndAtCrash);
  std::signal(SIGABRT, EndAtAbort);
}

// A crash as the exit status tells it, or empty for an ordinary exit.
std::string Crash(DWORD status, bool crashNoted) {
  struct Known {
    DWORD code;
    const char* name;
  };
  const Known known[] = {{EXCEPTION_ACCESS_VIOLATION, "access violation"},
                         {EXCEPTION_STACK_OVERFLOW, "stack overflow"},
                         {EXCEPTION_ILLEGAL_INSTRUCTION, "illegal instruction"},
                         {EXCEPTION_PRIV_INSTRUCTION, "privileged instruction"},
                         {EXCEPTION_INT_DIVIDE_BY_ZERO, "integer division by zero"},
                         {EXCEPTION_BREAKPOINT, "breakpoint"},
                         {EXCEPTION_IN_PAGE_ERROR, "page error"},
                         {0xC0000374, "heap corruption"},
                         {0xC0000409, "fast fail"}};
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(status));
  for (const Known& k : known) {
    if (k.code == status) return std::string("exception ") + code + " (" + k.name + ")";
  }
  if (crashNoted && status == kAborted) return "abort()";
  // Exception codes have the error bits set; exit statuses that high are rare.
  if ((status & 0xC0000000) == 0xC0000000) return std::string("exception ") + code;
  return "";
}

// This program's own command line, in the system's letters, with the work's
// name put first, the program itself written as its full path.
std::wstring ChildCommandLine(const std::string& program, const std::string& name) {
  const wchar_t* line = GetCommandLineW();
  // The program's name ends at its closing quote, or else at a space or tab.
  if (*line == L'"') {
    const wchar_t* closing = std::wcschr(line + 1, L'"');
    line = closing != nullptr ? closing + 1 : line + std::wcslen(line);
  } else {
    while (*line != L'\0' && *line != L' ' && *line != L'\t') ++line;
  }
  return Wide(QuotedForWindows(program) + " --isolated-work " + QuotedForWindows(name)) + line;
}

HANDLE Inheritable(const wchar_t* file, DWORD access, DWORD creation, DWORD flags) {
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  return CreateFileW(file, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     &inherited, creation, flags, nullptr);
}

// A file the child writes its output to, gone once closed.
HANDLE OutputFile() {
  wchar_t folder[MAX_PATH + 1], name[MAX_PATH + 1];
  if (GetTempPathW(MAX_PATH + 1, folder) == 0 || GetTempFileNameW(folder, L"gho", 0, name) == 0) {
    return INVALID_HANDLE_VALUE;
  }
  return Inheritable(name, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE);
}

std::string Tail(HANDLE file) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) return "";
  const LONGLONG from = size.QuadPart > LONGLONG(kOutputTail) ? size.QuadPart - kOutputTail : 0;
  std::string text(size_t(size.QuadPart - from), '\0');
  OVERLAPPED at{};
  at.Offset = DWORD(from);
  at.OffsetHigh = DWORD(from >> 32);
  DWORD got = 0;
  if (!ReadFile(file, text.data(), DWORD(text.size()), &got, &at)) got = 0;
  text.resize(got);
  return from > 0 ? "..." + text : text;
}

// The record a child shares with its parent: a mapping the child inherits,
// named to it in its environment.
class SharedMapping {
 public:
  SharedMapping() {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, &inherited, PAGE_READWRITE, 0,
                                  sizeof(SharedRecord), nullptr);
    if (mapping_ == nullptr) return;
    void* shared = MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedRecord));
    if (shared != nullptr) record_ = ::new (shared) SharedRecord();
  }
  ~SharedMapping() {
    if (record_ != nullptr) {
      record_->~SharedRecord();
      UnmapViewOfFile(record_);
    }
    if (mapping_ != nullptr) CloseHandle(mapping_);
  }
  SharedMapping(const SharedMapping&) = delete;
  SharedMapping& operator=(const SharedMapping&) = delete;
  SharedRecord* Record() const { return record_; }
  // Names the mapping in this process's environment, for the child to come.
  void Offer() const {
    SetEnvironmentVariableA(kRecordVariable,
                            std::to_string(reinterpret_cast<uintptr_t>(mapping_)).c_str());
  }

 private:
  HANDLE mapping_ = nullptr;
  SharedRecord* record_ = nullptr;
};

// The record the parent shares, in a child it started; null when none did.
SharedRecord* ParentsRecord() {
  const char* handle = std::getenv(kRecordVariable);
  if (handle == nullptr) return nullptr;
  HANDLE mapping = reinterpret_cast<HANDLE>(std::strtoull(handle, nullptr, 10));
  return static_cast<SharedRecord*>(
      MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedRecord)));
}

// A job that ends whole once let go of: the child and whatever processes the
// module started in it.
HANDLE JobEndingWhole() {
  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION endsWhole{};
  endsWhole.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (job != nullptr) {
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &endsWhole, sizeof endsWhole);
  }
  return job;
}

// Starts this program again as the child doing `name`, suspended until it
// is in the job.
bool StartChild(const std::string& name, HANDLE job, STARTUPINFOW& startup,
                PROCESS_INFORMATION& child) {
  const std::string program = ExecutablePath();
  std::wstring commandLine = ChildCommandLine(program, name);
  const bool running = CreateProcessW(Wide(program).c_str(), commandLine.data(), nullptr, nullptr,
                                      TRUE, CREATE_SUSPENDED, nullptr, nullptr, &startup, &child);
  if (running) {
    if (job != nullptr) AssignProcessToJobObject(job, child.hProcess);
    ResumeThread(child.hThread);
    CloseHandle(child.hThread);
  }
  return running;
}

// How the child ended, as its exit status tells, once it has.
void Ended(HANDLE process, const SharedRecord& record, Ending& ending) {
  DWORD status = 0;
  GetExitCodeProcess(process, &status);
  CloseHandle(process);
  ending.crash = Crash(status, record.crashedThread != 0);
  ending.exitStatus = int(status);
}

void EndJob(HANDLE job, HANDLE process) {
  if (job == nullptr || !TerminateJobObject(job, 1)) TerminateProcess(process, 1);
  WaitForSingleObject(process, INFINITE);
}

}  // namespace

void Progress::WatchCrashes() {
  WatchForCrashes();  // again: a library may have put its own handler in place
}

Verdict RunInChild(const ChildWork& work, Limits limits) {
  const SharedMapping shared;
  SharedRecord* record = shared.Record();
  if (record == nullptr) return {false, "can't share memory with a child process", "", false};
  HANDLE output = OutputFile();
  HANDLE nothing = Inheritable(L"NUL", GENERIC_READ, OPEN_EXISTING, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nothing;
  startup.hStdOutput = output;
  startup.hStdError = output;

  shared.Offer();
  const char* wineMessages = std::getenv(kWineMessagesVariable);
  const bool quietWine = wineMessages == nullptr || std::strchr(wineMessages, '+') == nullptr;
  if (quietWine) SetEnvironmentVariableA(kWineMessagesVariable, "-all");
  std::fflush(nullptr);
  const int64_t started = NowNs();
  PROCESS_INFORMATION child{};
  HANDLE job = JobEndingWhole();
  const bool running = StartChild(work.name, job, startup, child);
  const std::string whyNot = running ? "" : LastErrorText();
  SetEnvironmentVariableA(kRecordVariable, nullptr);
  if (quietWine) SetEnvironmentVariableA(kWineMessagesVariable, wineMessages);
  if (nothing != INVALID_HANDLE_VALUE) CloseHandle(nothing);

  Verdict verdict{false, "can't start a child process: " + whyNot, "", false};
  if (running) {
    Ending ending;
    while (WaitForSingleObject(child.hProcess, 10) == WAIT_TIMEOUT) {
      ending.stopped = PastLimit(*record, started, limits);
      if (ending.stopped.empty()) continue;
      EndJob(job, child.hProcess);
      break;
    }
    Ended(child.hProcess, *record, ending);
    verdict = Judge(*record, ending);
  }
  if (job != nullptr) CloseHandle(job);  // and with it what is left of the job
  if (output != INVALID_HANDLE_VALUE) {
    verdict.output = Tail(output);
    CloseHandle(output);
  }
  return verdict;
}

Verdict ServeChildWork(const ChildWork& work) {
  SharedRecord* shared = ParentsRecord();
  if (shared == nullptr) {  // started by hand: no parent waits
    SharedRecord record{};
    DoWork(work, record, long(GetCurrentThreadId()));
    return Judge(record, Ending{});
  }
  childRecord = shared;
  WatchForCrashes();
  DoWork(work, *childRecord, long(GetCurrentThreadId()));
  std::fflush(nullptr);
  // No exit handlers or library detach code: as a crash would, the module
  // leaves without a word, so nothing of it runs after the verdict.
  TerminateProcess(GetCurrentProcess(), 0);
  return {};
}

Supervised RunSupervised(const SupervisedWork& work, int callSeconds) {
  const SharedMapping shared;
  SharedRecord* record = shared.Record();
  if (record == nullptr) return {true, 0, "can't share memory with a child process"};
  // Its output goes where this program's does.
  STARTUPINFOW startup = WithOurStandardHandles();
  shared.Offer();
  std::fflush(nullptr);
  const int64_t started = NowNs();
  PROCESS_INFORMATION child{};
  HANDLE job = JobEndingWhole();
  const bool running = StartChild(work.name, job, startup, child);
  SetEnvironmentVariableA(kRecordVariable, nullptr);
  if (!running) {
    if (job != nullptr) CloseHandle(job);
    return {true, 0, "can't start a child process: " + LastErrorText()};
  }
  // The console's Ctrl-C reaches the child as it reaches this program: it is
  // given time to keep a record and let go of the window.
  constexpr int64_t kStoppingNs = 20LL * 1000000000;
  const Limits limits{INT32_MAX, callSeconds};
  int64_t askedAt = 0;
  Ending ending;
  while (WaitForSingleObject(child.hProcess, 20) == WAIT_TIMEOUT) {
    if (StopRequested() != 0) {
      if (askedAt == 0) askedAt = NowNs();
      if (NowNs() - askedAt < kStoppingNs) continue;
      ending.stopped = "did not end within 20 s of being asked to stop";
    } else {
      ending.stopped = PastLimit(*record, started, limits);
      if (ending.stopped.empty()) continue;
    }
    EndJob(job, child.hProcess);
    break;
  }
  Ended(child.hProcess, *record, ending);
  if (job != nullptr) CloseHandle(job);
  const bool inCall = record->callStartedNs != 0;
  if (ending.stopped.empty() && ending.crash.empty() && !inCall) {
    return {false, ending.exitStatus, ""};
  }
  return {true, 0, Judge(*record, ending).detail};
}

int ServeSupervisedWork(const SupervisedWork& work) {
  SharedRecord* shared = ParentsRecord();
  SharedRecord own{};
  SharedRecord& record = shared != nullptr ? *shared : own;
  if (shared != nullptr) {
    childRecord = shared;
    WatchForCrashes();
  }
  record.workThread = long(GetCurrentThreadId());
  Progress progress(record);
  const int status = work.run(progress);
  std::fflush(nullptr);
  return status;
}
