#include "AllegroStart.h"

#include <allegro.h>

#include <chrono>
#include <thread>

bool StartAllegroLibrary() {
  constexpr int kAttempts = 5;
  for (int attempt = 1;; ++attempt) {
    if (allegro_init() == 0) return true;
    if (attempt == kAttempts) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
}
