// The X display the validator's checks open their windows on: the one in
// DISPLAY, or a private Xvfb started for the run where there is none.
#ifndef FLINTMOOR_HOST_PRIVATEDISPLAY_H
#define FLINTMOOR_HOST_PRIVATEDISPLAY_H

#include <sys/types.h>

class PrivateDisplay {
 public:
  // Uses DISPLAY when set; otherwise starts Xvfb and sets DISPLAY to it.
  // Throws std::runtime_error, saying why, when neither is possible.
  PrivateDisplay();
  // Stops the Xvfb it started, if any. (Trivial only where there is none.)
  ~PrivateDisplay();  // NOLINT(performance-trivially-destructible)
  PrivateDisplay(const PrivateDisplay&) = delete;
  PrivateDisplay& operator=(const PrivateDisplay&) = delete;

 private:
  pid_t server_ = -1;
};

#endif
