// Allegro set up for a game, in the order games rely on: the library,
// keyboard, mouse, timer, colour depth, the 640x480 window, then sound.
#ifndef FLINTMOOR_HOST_SCREEN_H
#define FLINTMOOR_HOST_SCREEN_H

#include <string>

struct BITMAP;

class Screen {
 public:
  // Throws HostError(kExitNoGraphics) when there is no usable display.
  // Verbose names the sound driver.
  Screen(const std::string& title, bool fullscreen, bool verbose);
  // Leaves the graphics mode and Allegro.
  ~Screen();
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  // Shows a 640x480 picture.
  void Show(BITMAP* picture);
  // True once Esc was pressed or the window's close button clicked.
  bool QuitRequested() const;
  bool HasSound() const { return hasSound_; }

 private:
  bool hasSound_ = false;
};

// Starts Allegro alone, without a window, for work that needs no screen.
// Throws HostError(kExitNoGraphics) when it can't.
void StartAllegro();

#endif
