#include "Screen.h"

#include <allegro.h>

#include <atomic>

#include "AllegroStart.h"
#include "GamehostStart.h"
#include "HostError.h"
#include "WindowLook.h"

namespace {

std::atomic<bool> closeClicked{false};
void OnCloseButton() {
  closeClicked = true;
}

std::atomic<bool> focusLost{false};
void OnSwitchOut() {
  focusLost = true;
}

// Room the desktop keeps for title bars and panels around a window.
constexpr int kDesktopMargin = 64;

// The scale asked for (0: the largest that fits) when the view fits the
// space at it. Otherwise Allegro is shut down and the scale refused, naming
// the largest that fits.
int Fitting(int scale, int width, int height, const char* space) {
  const int fits = View::ScaleToFit(width, height);
  if (scale == 0) return fits;
  if (scale <= fits) return scale;
  allegro_exit();
  throw HostError(kExitUsage,
                  "--scale " + std::to_string(scale) + " needs " +
                      std::to_string(GamehostWindowWidth(scale)) + "x" +
                      std::to_string(GamehostWindowHeight(scale)) + ", more than this " + space +
                      " (" + std::to_string(width) + "x" + std::to_string(height) +
                      " free) holds: the largest that fits is --scale " + std::to_string(fits));
}

}  // namespace

Screen::Screen(const std::string& title, const std::string& iconFile, bool fullscreen, int scale,
               bool verbose) {
  SetWindowLook(iconFile);
  const bool ready = StartAllegroAsGamehost(
      [&] {
        int desktopWidth = 0, desktopHeight = 0;
        if (get_desktop_resolution(&desktopWidth, &desktopHeight) != 0) {
          desktopWidth = GamehostWindowWidth(1);
          desktopHeight = GamehostWindowHeight(1);
        }
        bool open = false;
        if (fullscreen) {
          // The desktop's own mode keeps the monitor as it is; 640x480 is the last resort.
          open = OpenGraphicsMode(GFX_AUTODETECT_FULLSCREEN, desktopWidth, desktopHeight) ||
                 OpenGraphicsMode(GFX_AUTODETECT_FULLSCREEN, View::kWidth, View::kHeight);
          if (open) scale = Fitting(scale, SCREEN_W, SCREEN_H, "screen");
        } else {
          scale = Fitting(scale, desktopWidth, desktopHeight - kDesktopMargin, "desktop");
          open = OpenGraphicsMode(GFX_AUTODETECT_WINDOWED, GamehostWindowWidth(scale),
                                  GamehostWindowHeight(scale));
          if (!open && scale > 1) {
            scale = 1;
            open = OpenGraphicsMode(GFX_AUTODETECT_WINDOWED, GamehostWindowWidth(1),
                                    GamehostWindowHeight(1));
          }
        }
        return open;
      },
      verbose ? SoundMessages::kVerbose : SoundMessages::kWhenSilent);
  if (!ready) {
    std::string reason = allegro_error;
    allegro_exit();
    throw HostError(kExitNoGraphics, "can't open a " +
                                         std::string(fullscreen ? "full screen" : "window") +
                                         " for a 640x480 game: " + reason);
  }
  view_ = std::make_unique<View>(scale, SCREEN_W, SCREEN_H);
  // The pointer's position as the window system has it. Otherwise Allegro
  // counts movements for a while after the mode is set and then moves the
  // pointer to where it has counted, away from where the player put it.
  enable_hardware_cursor();
  set_window_title(title.c_str());
  FinishWindowLook();
  set_close_button_callback(OnCloseButton);
  // Keep running in the background, and pause the game when that happens.
  set_display_switch_mode(SWITCH_BACKGROUND);
  set_display_switch_callback(SWITCH_OUT, OnSwitchOut);
}

Screen::~Screen() {
  remove_display_switch_callback(OnSwitchOut);
  set_close_button_callback(nullptr);
  view_.reset();  // its bitmaps go before Allegro
  allegro_exit();
}

Screen::Key Screen::NextKey() {
  if (keyboard_needs_poll()) poll_keyboard();
  while (keypressed()) {
    switch (readkey() >> 8) {
      case KEY_P:
      case KEY_PAUSE:
        return Key::kPause;
      case KEY_ESC:
        return Key::kEscape;
      default:
        break;
    }
  }
  return Key::kNone;
}

bool Screen::CloseClicked() const {
  return closeClicked;
}

bool Screen::TakeFocusLost() {
  return focusLost.exchange(false);
}
