// The game's sound, installed once the window is open: Allegro's digital
// driver, or silence with a one-line reason why.
#ifndef FLINTMOOR_HOST_SOUND_H
#define FLINTMOOR_HOST_SOUND_H

// Installs sound and says on stderr why when there is none; with verbose,
// names the driver on stdout. False when the game will be silent.
bool InstallSound(bool verbose);

#endif
