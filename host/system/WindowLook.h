// What the window manager shows of gamehost's window: the game's icon and
// the window class "gamehost". Both are set before Allegro opens its window,
// and the icon again once it is open, for panels that read it from there.
#ifndef FLINTMOOR_HOST_WINDOWLOOK_H
#define FLINTMOOR_HOST_WINDOWLOOK_H

#include <string>

// Call before allegro_init. An icon that can't be read leaves Allegro's own;
// where the platform has no such settings, nothing happens.
void SetWindowLook(const std::string& iconFile);

// Call once the window is open: the icon in the form today's panels and
// task bars read (_NET_WM_ICON on X).
void FinishWindowLook();

#endif
