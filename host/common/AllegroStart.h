// Starts Allegro's library for a host or a test, where many short-lived
// processes may share one busy display.
#ifndef FLINTMOOR_HOST_ALLEGROSTART_H
#define FLINTMOOR_HOST_ALLEGROSTART_H

// allegro_init, tried again for about a second when the X server turns the
// connection away. False when it never succeeded (allegro_error says why).
bool StartAllegroLibrary();

#endif
