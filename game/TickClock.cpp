#include "TickClock.h"

#include <allegro.h>

std::atomic<int32_t> tickCount{0};

void OnTick() {
  tickCount.fetch_add(1, std::memory_order_relaxed);
}

namespace {

constexpr int kTickMilliseconds = 5;

// Removes OnTick when the module is unloaded, so Allegro's timer thread never
// calls into code that is gone. Harmless once Allegro's timer system is down.
class TickClockGuard {
 public:
  void Installed() { installed_ = true; }
  ~TickClockGuard() {
    if (installed_) remove_int(OnTick);
  }

 private:
  bool installed_ = false;
};

TickClockGuard guard;

}  // namespace

void StartTickClock() {
  install_timer();
  if (install_int(OnTick, kTickMilliseconds) == 0) guard.Installed();
}
