// Ctrl-C, SIGTERM and SIGHUP (a closed terminal) as a request to stop:
// gamehost ends what it is doing the way Esc would, keeps what it has to
// keep, lets go of the display and of any child process, and only then ends
// as the signal would have ended it, so that the shell sees its usual status
// (130, 143, 129). Each system answers in its own folder.
#ifndef FLINTMOOR_HOST_STOPSIGNALS_H
#define FLINTMOOR_HOST_STOPSIGNALS_H

// From now on a stop signal only sets the request.
void CatchStopSignals();

// The stop signals back to what they do to any program, in a process that
// must not keep the request (a child forked to run a module's check).
void ReleaseStopSignals();

// The signal that asked gamehost to stop, or 0. Safe to ask from anywhere.
int StopRequested();

// Ends the process as the caught signal would have ended it; returns when
// none was caught.
void EndAsStopped();

// Holds the stop signals back while it lives, then puts back what they did
// before (gamehost's handlers, or the system's in a check's child): around
// allegro_init, which installs handlers of its own that shut Allegro down
// under the running program, or end it by an abort.
class StopSignalsHeld {
 public:
  StopSignalsHeld();
  // (Trivial only where there are no signal handlers to put back.)
  ~StopSignalsHeld();  // NOLINT(performance-trivially-destructible)
  StopSignalsHeld(const StopSignalsHeld&) = delete;
  StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;
};

#endif
