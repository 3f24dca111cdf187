// The window gamehost opens: the game's picture with a status line below
// it, at a whole-number scale. The validator opens the same one.
#ifndef FLINTMOOR_HOST_GAMEHOSTWINDOW_H
#define FLINTMOOR_HOST_GAMEHOSTWINDOW_H

#include "IGame.h"

constexpr int kStatusLineHeight = 20;  // picture pixels

constexpr int GamehostWindowWidth(int scale) {
  return kGamePictureWidth * scale;
}

constexpr int GamehostWindowHeight(int scale) {
  return (kGamePictureHeight + kStatusLineHeight) * scale;
}

#endif
