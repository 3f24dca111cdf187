#include "Screen.h"

#include <allegro.h>

#include <atomic>

#include "AllegroStart.h"
#include "GamehostStart.h"
#include "HostError.h"
#include "WindowLook.h"
#include "WindowSystem.h"

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
               int fps, bool verbose)
    : pacer_(fps) {
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
  card_.reset(create_bitmap(View::kWidth, View::kHeight));
  if (card_ == nullptr) {
    allegro_exit();
    throw HostError(kExitNoGraphics, "no memory for a 640x480 picture");
  }
  // A key held down is one press: the player's keys act once (Esc ends a
  // round; a repeat would quit as well).
  set_keyboard_rate(0, 0);
  KeysDoNotRepeat();
  // The pointer's position as the window system has it. Otherwise Allegro
  // counts movements for a while after the mode is set and then moves the
  // pointer to where it has counted, away from where the player put it.
  enable_hardware_cursor();
  set_window_title(title.c_str());
  FinishWindowLook();
  depth_ = get_color_depth();
  conversion_ = get_color_conversion();
  font_ = font;
  HandleWindowEvents();
}

void Screen::HandleWindowEvents() {
  set_close_button_callback(OnCloseButton);
  // Keep running in the background, and pause the game when that happens.
  // (Setting the mode drops every callback of the switch set before.)
  set_display_switch_mode(SWITCH_BACKGROUND);
  set_display_switch_callback(SWITCH_OUT, OnSwitchOut);
}

void Screen::Name(const std::string& title) {
  set_window_title(title.c_str());
}

void Screen::TakeBack() {
  set_color_depth(depth_);
  set_color_conversion(conversion_);
  solid_mode();
  font = font_;
  keyboard_callback = nullptr;
  keyboard_ucallback = nullptr;
  keyboard_lowlevel_callback = nullptr;
  mouse_callback = nullptr;
  set_keyboard_rate(0, 0);
  HandleWindowEvents();
  systemPointer_ = -1;  // shown as a game left it: set again at the next frame
  ForgetKeys();
}

Screen::~Screen() {
  remove_display_switch_callback(OnSwitchOut);
  set_close_button_callback(nullptr);
  card_.reset();
  view_.reset();  // its bitmaps go before Allegro
  allegro_exit();
}

void Screen::Show(BITMAP* picture, const StatusLine& status, const Pointer& aim) {
  // The crosshair stands for the system's pointer where it is drawn, and
  // nowhere else: over the status line the pointer is the system's.
  ShowSystemPointer(!(aim.shown && aim.isMouse));
  view_->Present(picture, aim, status);
  pacer_.Wait();
}

void Screen::Show(const Card& card, const StatusLine& status) {
  DrawCard(card_.get(), card);
  ShowSystemPointer(true);
  view_->Present(card_.get(), Pointer{}, status);
  pacer_.Wait();
}

void Screen::ShowSystemPointer(bool shown) {
  if (systemPointer_ == int(shown)) return;
  show_os_cursor(shown ? MOUSE_CURSOR_ARROW : MOUSE_CURSOR_NONE);
  systemPointer_ = int(shown);
}

Key Screen::NextKey() {
  if (keyboard_needs_poll()) poll_keyboard();
  if (keypressed()) {
    switch (readkey() >> 8) {
      case KEY_P:
      case KEY_PAUSE:
        return Key::kPause;
      case KEY_ESC:
        return Key::kEscape;
      case KEY_ENTER:
      case KEY_ENTER_PAD:
        return Key::kEnter;
      case KEY_UP:
        return Key::kUp;
      case KEY_DOWN:
        return Key::kDown;
      case KEY_PGUP:
        return Key::kPageUp;
      case KEY_PGDN:
        return Key::kPageDown;
      case KEY_HOME:
        return Key::kHome;
      case KEY_END:
        return Key::kEnd;
      default:
        return Key::kOther;
    }
  }
  return Key::kNone;
}

void Screen::ForgetKeys() {
  if (keyboard_needs_poll()) poll_keyboard();
  clear_keybuf();
}

int Screen::TakeWheel() {
  if (mouse_needs_poll()) poll_mouse();
  const int turned = mouse_z - wheel_;
  wheel_ = mouse_z;
  return turned;
}

bool Screen::CloseClicked() const {
  return closeClicked;
}

bool Screen::TakeFocusLost() {
  return focusLost.exchange(false);
}
