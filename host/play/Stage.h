// Where the host's screens and the game's pictures are shown, and where the
// player's keys and the window's events come from: a window (Screen), or a
// stage in memory that a test reads and drives.
#ifndef FLINTMOOR_HOST_STAGE_H
#define FLINTMOOR_HOST_STAGE_H

#include <chrono>
#include <string>

#include "Cards.h"
#include "View.h"

struct BITMAP;

// The keys gamehost answers to.
enum class Key {
  kNone,
  kPause,
  kEscape,
  kEnter,
  kUp,
  kDown,
  kPageUp,
  kPageDown,
  kHome,
  kEnd,
  kOther,  // any other key
};

class Stage {
 public:
  using Clock = std::chrono::steady_clock;

  virtual ~Stage() = default;

  // Shows a 640x480 picture of the screen's depth with the status line
  // under it, the crosshair where `aim` says, and waits for the next frame's
  // time. The picture itself is not changed.
  virtual void Show(BITMAP* picture, const StatusLine& status, const Pointer& aim) = 0;
  // Shows one of the host's own screens, with the system's pointer, and
  // waits for the next frame's time.
  virtual void Show(const Card& card, const StatusLine& status) = 0;
  // The time now, on the clock the frames are paced by.
  virtual Clock::time_point Now() const = 0;

  // The next key pressed since the last call; kNone when there is none. A
  // key held down is one press: it does not repeat.
  virtual Key NextKey() = 0;
  // Drops the keys pressed so far: a new screen starts with none.
  virtual void ForgetKeys() = 0;
  // Notches the mouse wheel turned since the last call, away from the
  // player positive.
  virtual int TakeWheel() = 0;
  // True once the window's close button was clicked.
  virtual bool CloseClicked() const = 0;
  // True once after the window lost the focus or was hidden.
  virtual bool TakeFocusLost() = 0;

  // Names what is shown (the window's title).
  virtual void Name(const std::string& title) = 0;
  // Puts back the settings of Allegro's the stage made (colour depth and
  // conversion, drawing mode, font, keys, window events), whatever a game
  // just played changed.
  virtual void TakeBack() = 0;
};

#endif
