// What the window manager shows of gamehost's window: the game's icon and
// the window class "gamehost". Both are set before Allegro opens its window.
#ifndef FLINTMOOR_HOST_WINDOWLOOK_H
#define FLINTMOOR_HOST_WINDOWLOOK_H

#include <string>

// Call before allegro_init. An icon that can't be read leaves Allegro's own;
// where the platform has no such settings, nothing happens.
void SetWindowLook(const std::string& iconFile);

#endif
