// Starts Allegro for a host or a test, where many short-lived processes may
// share one busy display: the library, and a graphics mode.
#ifndef FLINTMOOR_HOST_ALLEGROSTART_H
#define FLINTMOOR_HOST_ALLEGROSTART_H

// allegro_init, tried again for about a second when the X server turns the
// connection away. False when it never succeeded (allegro_error says why).
bool StartAllegroLibrary();

// set_gfx_mode at a colour depth games can use: the desktop's, else 32, then
// 16. False when none opened (allegro_error says why).
bool OpenGraphicsMode(int mode, int width, int height);

#endif
