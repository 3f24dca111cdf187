// The game's resource datafile: where it is and what it must hold.
#ifndef FLINTMOOR_GAME_RESOURCES_H
#define FLINTMOOR_GAME_RESOURCES_H

#include <allegro.h>

// Resolved against the working folder, not the folder given to SetPath.
constexpr const char* kDatafilePath = "games/flintmoor/flintmoor.dat";

// Objects by position: four 24x24 pictures facing right, then the sample.
enum ResourceIndex {
  kFlyingPicture = 0,  // frames 0 and 1
  kHitPicture = 2,     // frames 0 and 1
  kSpawnSound = 4,
  kResourceCount = 5,
};

// True when the datafile holds the pictures and the sound where the frame
// operations look for them, the pictures in the depth they are drawn into,
// so a wrong file can't make them read past it.
bool HoldsGameResources(const DATAFILE* data, int drawingDepth);

#endif
