#include "Screen.h"

#include <allegro.h>

#include <atomic>

#include "HostError.h"
#include "Sound.h"

namespace {

std::atomic<bool> closeClicked{false};
void OnCloseButton() {
  closeClicked = true;
}

}  // namespace

void StartAllegro() {
  if (allegro_init() != 0) {
    throw HostError(kExitNoGraphics, std::string("can't start Allegro: ") + allegro_error +
                                         " (is there an X display? try xvfb-run)");
  }
}

Screen::Screen(const std::string& title, bool fullscreen, bool verbose) {
  StartAllegro();
  install_keyboard();
  install_mouse();
  install_timer();
  const int mode = fullscreen ? GFX_AUTODETECT_FULLSCREEN : GFX_AUTODETECT_WINDOWED;
  bool ready = false;
  for (int depth : {desktop_color_depth(), 32, 16}) {
    if (depth < 15) continue;  // no desktop depth known, or a palette mode
    set_color_depth(depth);
    if (set_gfx_mode(mode, 640, 480, 0, 0) == 0) {
      ready = true;
      break;
    }
  }
  if (!ready) {
    std::string reason = allegro_error;
    allegro_exit();
    throw HostError(kExitNoGraphics, "can't open a 640x480 " +
                                         std::string(fullscreen ? "full screen" : "window") + ": " +
                                         reason);
  }
  set_window_title(title.c_str());
  set_close_button_callback(OnCloseButton);
  hasSound_ = InstallSound(verbose);
}

Screen::~Screen() {
  set_close_button_callback(nullptr);
  allegro_exit();
}

void Screen::Show(BITMAP* picture) {
  blit(picture, screen, 0, 0, 0, 0, 640, 480);
}

bool Screen::QuitRequested() const {
  if (keyboard_needs_poll()) poll_keyboard();
  return closeClicked || key[KEY_ESC];
}
