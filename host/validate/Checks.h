// The validator's checks, in one table: each with its name and the promise
// it holds a module to. Each runs in its own child process, in a private
// working folder, with Allegro started at its colour depth (or started by
// the check itself, as gamehost starts it); it answers what it found when
// the module kept the contract and throws CheckFailure, saying what to fix,
// when it did not.
#ifndef FLINTMOOR_HOST_CHECKS_H
#define FLINTMOOR_HOST_CHECKS_H

#include <stdexcept>
#include <string>
#include <vector>

#include "ChildProcess.h"

// What every check knows: the module and where its resources are.
struct Subject {
  std::string module;     // absolute path
  std::string resources;  // folder that holds the module's games/, if it has one
  unsigned seed;
};

struct CheckFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// AddressSanitizer holds freed memory back on purpose (and checks for leaks
// itself): in such a build memory growth is reported, not judged.
#ifdef __SANITIZE_ADDRESS__
constexpr bool kMemoryJudged = false;
#else
constexpr bool kMemoryJudged = true;
#endif

struct Check {
  const char* name;
  const char* promise;  // one line, for --list-checks and the README
  int seconds;          // for the whole check
  int depth;            // Allegro started at this depth first; 0: the check starts it
  std::string (*run)(const Subject&, Progress&);
  bool part = false;  // a part of another check's work, neither listed nor run alone
};

// Every check, in the order they run, and the parts of their work that run
// as checks do (in a process of their own, by name).
const std::vector<Check>& AllChecks();
// The check or part of that name, or null.
const Check* FindCheck(const std::string& name);

// IdentityChecks.cpp
std::string ExportsGetPlugin(const Subject& subject, Progress& progress);
std::string Identity(const Subject& subject, Progress& progress);
std::string SetPath(const Subject& subject, Progress& progress);
// LifecycleChecks.cpp
std::string InitInTime(const Subject& subject, Progress& progress);
std::string Lifecycle(const Subject& subject, Progress& progress);
std::string WithoutResources(const Subject& subject, Progress& progress);
std::string InitShutdownCycles(const Subject& subject, Progress& progress);
// FrameChecks.cpp: 3000 frames at the colour depth Allegro was started with;
// a long play.
std::string Frames(const Subject& subject, Progress& progress);
std::string LongPlay(const Subject& subject, Progress& progress);
// UnloadChecks.cpp
std::string Unload(const Subject& subject, Progress& progress);
std::string LoadCycles(const Subject& subject, Progress& progress);
// AsGamehostChecks.cpp: loaded before Allegro, in gamehost's window at 1x
// and 2x, with keyboard, mouse and sound, unloaded after allegro_exit.
std::string AsGamehostAt1x(const Subject& subject, Progress& progress);
std::string AsGamehostAt2x(const Subject& subject, Progress& progress);
// The module loaded before Allegro starts and after: the same picture.
std::string ColoursAtLoad(const Subject& subject, Progress& progress);
// MemcheckCheck.cpp: gamehost runs the part below under valgrind's memcheck.
std::string Memcheck(const Subject& subject, Progress& progress);
constexpr const char* kFramesUnderMemcheckWork = "frames under memcheck";
std::string FramesUnderMemcheck(const Subject& subject, Progress& progress);

#endif
