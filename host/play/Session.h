// A person's time with a game: a start screen, rounds that end after a
// number of escapes, each round's results, pauses, and the best score kept
// between runs. Scripted runs (--autoplay, --frames) start playing at once.
#ifndef FLINTMOOR_HOST_SESSION_H
#define FLINTMOOR_HOST_SESSION_H

#include <string>

#include "GameModule.h"

// How the player asked to play (gamehost's options).
struct SessionSettings {
  bool autoplay = false;  // the built-in player plays, round after round
  bool fullscreen = false;
  bool verbose = false;  // names the sound driver, reports each press
  bool noSave = false;   // keep no records
  int fps = 60;
  long frames = 0;         // 0: until the player quits
  int escapes = 10;        // escapes that end a round; 0: endless
  int scale = 0;           // the window's whole-number scale; 0: the largest that fits
  unsigned seed = 1;       // the built-in player's
  std::string screenshot;  // where to save the last frame, or empty
};

// Plays until the player quits or settings.frames frames were shown;
// answers the exit status. Throws HostError when the game or the screen
// can't start.
int PlaySession(const GameModule& module, const SessionSettings& settings);

#endif
