// gamehost --watch MODULE: a module author's loop. The module plays in a
// window; whenever a build replaces its file, the new build is loaded into
// the same window and starts again from its start screen. A build that
// can't load or can't start is named on the start screen, and the last good
// build plays on; one that crashes, the supervising process restarts with
// the last good build (see main.cpp).
#ifndef FLINTMOOR_HOST_WATCH_H
#define FLINTMOOR_HOST_WATCH_H

#include <string>

#include "ChildProcess.h"
#include "Session.h"

// Plays the module's builds, kept in `folder` (see ModuleBuilds), until the
// player quits; answers the exit status. `note` says what happened before
// (a build that crashed): then the last good build plays first.
int WatchModule(const std::string& module, const std::string& folder, const std::string& note,
                const SessionSettings& settings, Progress* progress);

// What the supervising process notes once a build crashed: which one, and
// which plays now, for the note a new process shows.
std::string NoteCrashedBuild(const std::string& module, const std::string& folder,
                             const std::string& why);

#endif
