// A person's time with a game: a start screen, rounds that end after a
// number of escapes, each round's results, pauses, and the best score kept
// between runs. Scripted runs (--autoplay, --frames) start playing at once.
#ifndef FLINTMOOR_HOST_SESSION_H
#define FLINTMOOR_HOST_SESSION_H

#include "GameModule.h"
#include "Options.h"

// Plays until the player quits or options.frames frames were shown; answers
// the exit status. Throws HostError when the game or the screen can't start.
int PlaySession(const GameModule& module, const Options& options);

#endif
