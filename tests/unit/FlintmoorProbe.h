// Test access to the game's state, for rules a host can't observe.
#ifndef FLINTMOOR_TESTS_FLINTMOORPROBE_H
#define FLINTMOOR_TESTS_FLINTMOORPROBE_H

#include <allegro.h>

#include "Flintmoor.h"
#include "TickClock.h"

class FlintmoorProbe {
 public:
  explicit FlintmoorProbe(Flintmoor& game) : game_(game) {}

  int32_t& score() { return game_.score; }
  int32_t& bestScore() { return game_.bestScore; }
  int32_t& spawnInterval() { return game_.spawnInterval; }
  bool& buttonLatch() { return game_.buttonLatch; }
  BITMAP* buffer() { return game_.buffer; }
  DATAFILE* data() { return game_.data; }
  std::vector<std::unique_ptr<Target>>& targets() { return game_.targets; }

  // Stops Allegro's timer from advancing the clock, so a test sets tickCount
  // itself and no tick lands between its steps.
  static void FreezeClock() { remove_int(OnTick); }

 private:
  Flintmoor& game_;
};

#endif
