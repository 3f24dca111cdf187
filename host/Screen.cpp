#include "Screen.h"

#include <allegro.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

#include "HostError.h"

namespace {

std::atomic<bool> closeClicked{false};
void OnCloseButton() {
  closeClicked = true;
}

// The sound libraries Allegro tries print their own complaints when there is
// no sound card; gamehost says it once, in its own words.
bool InstallSoundQuietly() {
  std::fflush(stderr);
  int savedStderr = dup(STDERR_FILENO);
  int devNull = open("/dev/null", O_WRONLY);
  if (savedStderr >= 0 && devNull >= 0) dup2(devNull, STDERR_FILENO);
  // Without a card, autodetection settles on the silent driver and succeeds.
  bool installed =
      install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr) == 0 && digi_card != DIGI_NONE;
  if (savedStderr >= 0) {
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);
  }
  if (devNull >= 0) close(devNull);
  return installed;
}

}  // namespace

void StartAllegro() {
  if (allegro_init() != 0) {
    throw HostError(kExitNoGraphics, std::string("can't start Allegro: ") + allegro_error +
                                         " (is there an X display? try xvfb-run)");
  }
}

Screen::Screen(const std::string& title, bool fullscreen) {
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
  hasSound_ = InstallSoundQuietly();
  if (!hasSound_) std::fprintf(stderr, "gamehost: no sound card found; playing silently\n");
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
