// Errors that end gamehost: a one-line message and a distinct exit status.
#ifndef FLINTMOOR_HOST_HOSTERROR_H
#define FLINTMOOR_HOST_HOSTERROR_H

#include <stdexcept>
#include <string>

// What each means is in kExitStatuses below.
enum ExitStatus {
  kExitOk = 0,
  kExitUsage = 2,
  kExitModuleUnloadable = 3,
  kExitNoEntryPoint = 4,
  kExitNoGraphics = 5,
  kExitGameDidNotStart = 6,
  kExitScreenshot = 7,
  kExitValidationFailed = 8,
  kExitCollectionFailed = 9,
};

// Every status gamehost ends with, and what it tells (the manual page lists
// them from here): a status added above gets its line here.
struct ExitStatusMeaning {
  ExitStatus status;
  const char* meaning;
};
inline constexpr ExitStatusMeaning kExitStatuses[] = {
    {kExitOk, "done as asked: played, printed or validated without a failure"},
    {kExitUsage, "bad command line"},
    {kExitModuleUnloadable, "the module is missing or not a loadable library"},
    {kExitNoEntryPoint, "the module exports no GetPlugin"},
    {kExitNoGraphics, "no display, or Allegro or the window could not be set up"},
    {kExitGameDidNotStart,
     "the game did not start (its Init answered false), for instance "
     "its datafile is missing"},
    {kExitScreenshot, "the screenshot could not be written"},
    {kExitValidationFailed, "--validate found a broken promise"},
    {kExitCollectionFailed, "the collection of games kept failing as it started"},
};

struct HostError : std::runtime_error {
  HostError(ExitStatus exitStatus, const std::string& message)
      : std::runtime_error(message), status(exitStatus) {}
  ExitStatus status;
};

#endif
