// Where each frame's mouse state comes from: the real mouse (MousePlayer),
// or the built-in player that watches the picture and clicks on what moves
// (AutoPlayer).
#ifndef FLINTMOOR_HOST_PLAYER_H
#define FLINTMOOR_HOST_PLAYER_H

#include "IGame.h"
#include "View.h"

struct BITMAP;

class Player {
 public:
  virtual ~Player() = default;
  // The mouse for the next frame, in picture coordinates; lastFrame is the
  // picture drawn in the previous one (null before the first, and on the
  // host's own screens).
  virtual MouseInput Next(BITMAP* lastFrame) = 0;
  // Where to show the crosshair now.
  virtual Pointer Aim() const = 0;
  // Takes back what the player set up in Allegro, after a game that may
  // have changed it.
  virtual void TakeBack() {}
};

#endif
