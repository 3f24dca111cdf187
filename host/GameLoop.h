// The main loop: a fixed number of frames a second, sleeping while ahead.
#ifndef FLINTMOOR_HOST_GAMELOOP_H
#define FLINTMOOR_HOST_GAMELOOP_H

#include "IGame.h"
#include "Options.h"
#include "Player.h"
#include "Screen.h"

struct SessionReport {
  long frames = 0;
  long misses = 0;  // frames in which Update reported a miss
};

// Plays until Esc, the close button or options.frames. `picture` is the
// 640x480 bitmap the game draws into; it holds the last frame afterwards.
SessionReport RunGameLoop(IGame& game, Screen& screen, Player& player, BITMAP* picture,
                          const Options& options);

#endif
