// Runs a piece of work in a child process with time limits, so that a crash,
// a hang or an exit in it is reported instead of taking the caller down, and
// whatever it prints stays out of the caller's output.
#ifndef FLINTMOOR_HOST_CHILDPROCESS_H
#define FLINTMOOR_HOST_CHILDPROCESS_H

#include <cstdint>
#include <functional>
#include <string>

struct Verdict {
  bool passed = false;
  std::string detail;
  std::string output;   // what the work printed (stdout and stderr), its tail
  bool started = true;  // false: no child could be made to run it in
};

// What the work is doing, kept where the caller can read it after a crash or
// a hang: the call it is in, or the step it is at between calls.
struct SharedRecord;
struct ChildWork;
struct SupervisedWork;
struct Supervised;

class Progress {
 public:
  // A call is starting; it counts against the call limit until Returned.
  void Call(const std::string& call);
  void Returned();
  // A step of the work's own, outside any call, described to follow "crashed"
  // or "hung": "while waiting for ...".
  void Step(const std::string& step);
  // From here on, a crash on a thread other than the work's own is told
  // apart. (Call it after libraries that install their own crash handlers.)
  void WatchCrashes();
  // Memory from `begin` to `end` was lent to the module and is no longer:
  // a crash there is the module using `what` after the call it was lent to.
  void TakenBack(uintptr_t begin, uintptr_t end, const std::string& what);

 private:
  friend void DoWork(const ChildWork&, SharedRecord&, long);
  friend Supervised RunSupervised(const SupervisedWork&, int);
  friend int ServeSupervisedWork(const SupervisedWork&);
  explicit Progress(SharedRecord& record) : record_(record) {}
  SharedRecord& record_;
};

struct Limits {
  int workSeconds;  // the whole piece of work
  int callSeconds;  // any one call: longer is a hang
};

// A piece of work, named so that a child process can be told which to do.
struct ChildWork {
  std::string name;
  std::function<Verdict(Progress&)> run;
};

// Runs `work` in a child process and answers its verdict; a crash, an exit
// without a verdict or going past a limit is a failure that names where the
// work was. Where the system can fork, the child is a fork, and the caller
// must not have started threads (Allegro included): the child has only one.
// Elsewhere (Windows) the child is this program started again with
// "--isolated-work NAME" ahead of its own arguments, and its main must hand
// the same work to ServeChildWork.
Verdict RunInChild(const ChildWork& work, Limits limits);

// In a child started by RunInChild: does the work, hands the verdict to the
// parent and ends the process. Started by hand, with no parent waiting, it
// does the work in this process and answers the verdict.
Verdict ServeChildWork(const ChildWork& work);

// A long piece of work that ends with an exit status (gamehost's collection
// of games), run in a child process watched all the time, so that code it
// loads can't take this program down.
struct SupervisedWork {
  std::string name;
  std::function<int(Progress&)> run;  // answers the exit status
};

// How a supervised child ended: on its own with an exit status (or by a
// stop signal this program passed on), or failed: a crash, a call of the
// work's (Progress::Call) that did not return within the limit, or an exit
// in such a call.
struct Supervised {
  bool failed = false;
  int status = 0;
  std::string why;  // what went wrong, where the work was
};

// Runs `work` in a child process whose output goes where this program's
// does. A stop signal this program catches is passed on to the child, which
// ends as it sees fit. As with RunInChild, the caller must not have started
// threads where the child is a fork; elsewhere its main must hand the same
// work to ServeSupervisedWork.
Supervised RunSupervised(const SupervisedWork& work, int callSeconds);

// In a child started by RunSupervised: does the work and ends the process
// with its exit status. Started by hand, it answers the status.
int ServeSupervisedWork(const SupervisedWork& work);

#endif
