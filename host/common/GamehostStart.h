// gamehost's Allegro start-up, in the order games rely on: the library, the
// keyboard, mouse and timer, then the colour depth and the screen, then
// sound. gamehost plays in it, and the validator's checks run in it, so
// that what they prove is what gamehost does.
#ifndef FLINTMOOR_HOST_GAMEHOSTSTART_H
#define FLINTMOOR_HOST_GAMEHOSTSTART_H

#include <functional>

// How the start-up speaks of the sound it found: not at all (the
// validator, whose checks' output is the module's), a line on stderr when
// there is none, or also naming the driver on stdout.
enum class SoundMessages { kNone, kWhenSilent, kVerbose };

// Starts Allegro. `openScreen` sets the colour depth and the graphics mode
// (OpenGraphicsMode), and may ask Allegro for the desktop's size first; it
// may also throw. Throws HostError (kExitNoGraphics) when the library does
// not start. Answers false, with Allegro started but no screen or sound,
// when `openScreen` answered false: allegro_error says why. Without a
// sound device the game plays silently (Allegro's silent driver).
bool StartAllegroAsGamehost(const std::function<bool()>& openScreen, SoundMessages messages);

#endif
