// The part of Allegro's global set-up that belongs to the host: a module
// must leave it as it found it.
#ifndef FLINTMOOR_HOST_ALLEGROSTATE_H
#define FLINTMOOR_HOST_ALLEGROSTATE_H

#include <string>

struct AllegroState {
  int colourDepth;
  int colourConversion;
  int graphicsDriver;  // its id, 0 when there is no graphics mode
  int screenWidth, screenHeight;
  const void* screen;
  bool timerInstalled;
};

AllegroState CurrentAllegroState();

// What changed from `before` to `after`, in words; empty when nothing did.
std::string AllegroChanges(const AllegroState& before, const AllegroState& after);

#endif
