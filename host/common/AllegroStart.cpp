#include "AllegroStart.h"

#include <allegro.h>

#include <chrono>
#include <initializer_list>
#include <thread>

#include "StopSignals.h"

bool StartAllegroLibrary() {
  constexpr int kAttempts = 5;
  const StopSignalsHeld held;  // Allegro's own handlers would end it mid-frame
  for (int attempt = 1;; ++attempt) {
    if (allegro_init() == 0) return true;
    if (attempt == kAttempts) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
}

bool OpenGraphicsMode(int mode, int width, int height) {
  for (int depth : {desktop_color_depth(), 32, 16}) {
    if (depth < 15) continue;  // no desktop depth known, or a palette mode
    set_color_depth(depth);
    if (set_gfx_mode(mode, width, height, 0, 0) == 0) return true;
  }
  return false;
}
