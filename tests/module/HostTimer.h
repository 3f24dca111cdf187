// A host's own Allegro timer callback, counting its ticks: what a host keeps
// running while it loads and unloads modules.
#ifndef FLINTMOOR_TESTS_HOSTTIMER_H
#define FLINTMOOR_TESTS_HOSTTIMER_H

#include <atomic>

inline std::atomic<int> hostTicks{0};
inline void CountHostTick() {
  ++hostTicks;
}

#endif
