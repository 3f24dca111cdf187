// Errors that end gamehost: a one-line message and a distinct exit status.
#ifndef FLINTMOOR_HOST_HOSTERROR_H
#define FLINTMOOR_HOST_HOSTERROR_H

#include <stdexcept>
#include <string>

enum ExitStatus {
  kExitOk = 0,
  kExitUsage = 2,             // bad command line
  kExitModuleUnloadable = 3,  // module missing or not a loadable library
  kExitNoEntryPoint = 4,      // the library exports no GetPlugin
  kExitNoGraphics = 5,        // Allegro or the window could not be set up
  kExitGameDidNotStart = 6,   // Init answered false
  kExitScreenshot = 7,        // the screenshot could not be written
  kExitValidationFailed = 8,  // --validate found a broken promise
  kExitCollectionFailed = 9,  // the collection kept failing as it started
};

struct HostError : std::runtime_error {
  HostError(ExitStatus exitStatus, const std::string& message)
      : std::runtime_error(message), status(exitStatus) {}
  ExitStatus status;
};

#endif
