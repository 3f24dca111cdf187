#include "ChildRecord.h"

#include "StopSignals.h"

namespace {

void Describe(SharedRecord& record, const std::string& doing) {
  record.doing[doing.copy(record.doing, sizeof record.doing - 1)] = '\0';
}

// Where the child was, for a failure: "in Update at frame 3" in a call,
// "just after ..." once it returned, or the step as described.
std::string Where(const SharedRecord& record, bool inCall) {
  if (record.doing[0] == '\0') return "";
  if (inCall) return std::string(" in ") + record.doing;
  if (record.afterCall) return std::string(" just after ") + record.doing + " returned";
  return std::string(" ") + record.doing;
}

}  // namespace

int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void Progress::Call(const std::string& call) {
  Describe(record_, call);
  record_.afterCall = false;
  record_.callStartedNs = NowNs();
}

void Progress::Returned() {
  record_.callStartedNs = 0;
  record_.afterCall = true;
}

void Progress::Step(const std::string& step) {
  record_.callStartedNs = 0;
  record_.afterCall = false;
  Describe(record_, step);
}

void Progress::TakenBack(uintptr_t begin, uintptr_t end, const std::string& what) {
  record_.takenBackBegin = begin;
  record_.takenBackEnd = end;
  record_.takenBack[what.copy(record_.takenBack, sizeof record_.takenBack - 1)] = '\0';
}

std::string PastLimit(const SharedRecord& record, int64_t startedNs, Limits limits) {
  const int64_t now = NowNs(), callStarted = record.callStartedNs;
  if (StopRequested() != 0) {
    return "was stopped: gamehost was asked to stop (signal " + std::to_string(StopRequested()) +
           ")" + Where(record, callStarted != 0);
  }
  if (callStarted != 0 && now - callStarted > int64_t(limits.callSeconds) * 1000000000) {
    return "did not return within " + std::to_string(limits.callSeconds) + " s: hung" +
           Where(record, true);
  }
  if (now - startedNs > int64_t(limits.workSeconds) * 1000000000) {
    return "was still running after " + std::to_string(limits.workSeconds) + " s" +
           Where(record, callStarted != 0);
  }
  return "";
}

Verdict Judge(const SharedRecord& record, const Ending& ending) {
  Verdict verdict;
  const bool inCall = record.callStartedNs != 0;
  if (!ending.stopped.empty()) {
    verdict.detail = ending.stopped;
  } else if (!ending.crash.empty()) {
    verdict.detail = "crashed with " + ending.crash;
    if (record.crashedThread != 0 && record.crashedThread != record.workThread) {
      verdict.detail +=
          " on a thread that is not the host's (one the module started, or "
          "Allegro's timer thread calling the module),";
    }
    verdict.detail += Where(record, inCall);
    if (record.crashAddress != 0 && record.crashAddress >= record.takenBackBegin &&
        record.crashAddress < record.takenBackEnd) {
      verdict.detail += std::string(": it used ") + record.takenBack;
    }
  } else if (ending.exitStatus != 0 || record.detailLength == 0) {
    verdict.detail = "ended the process with exit status " + std::to_string(ending.exitStatus) +
                     Where(record, inCall) + (inCall ? " (a module must never exit its host)" : "");
  } else {
    verdict.passed = record.passed;
    verdict.detail.assign(record.detail, record.detailLength);
  }
  return verdict;
}

void DoWork(const ChildWork& work, SharedRecord& record, long thread) {
  record.workThread = thread;
  Progress progress(record);
  Verdict verdict = work.run(progress);
  record.detailLength = verdict.detail.copy(record.detail, sizeof record.detail);
  record.passed = verdict.passed;
}
