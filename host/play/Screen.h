// Allegro set up for a game, in the order games rely on: the library,
// keyboard, mouse, timer, colour depth, the window (or full screen), then
// sound; and the player's keys and the window's events.
#ifndef FLINTMOOR_HOST_SCREEN_H
#define FLINTMOOR_HOST_SCREEN_H

#include <memory>
#include <string>

#include "View.h"

class Screen {
 public:
  // Opens a window at the given scale of the view (0: the largest that fits
  // the desktop), or the full screen with the view centred. Throws
  // HostError: kExitNoGraphics when there is no usable display, kExitUsage
  // when the scale asked for doesn't fit. Verbose names the sound driver.
  Screen(const std::string& title, const std::string& iconFile, bool fullscreen, int scale,
         bool verbose);
  // Leaves the graphics mode and Allegro.
  ~Screen();
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  View& GetView() { return *view_; }

  enum class Key { kNone, kPause, kEscape };
  // The next of the player's keys pressed since the last call.
  Key NextKey();
  // True once the window's close button was clicked.
  bool CloseClicked() const;
  // True once after the window lost the focus or was hidden, where
  // Allegro reports it.
  bool TakeFocusLost();

 private:
  std::unique_ptr<View> view_;
};

#endif
