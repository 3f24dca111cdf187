#include "AllegroStart.h"

#include <allegro.h>

#include <chrono>
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
