// The process-wide 5 ms clock: Allegro's timer thread advances it, the host's
// thread reads it and resets it at every spawn.
#ifndef FLINTMOOR_GAME_TICKCLOCK_H
#define FLINTMOOR_GAME_TICKCLOCK_H

#include <atomic>
#include <cstdint>

extern std::atomic<int32_t> tickCount;

// Allegro timer callback: one tick.
void OnTick();

// Installs Allegro's timer system and OnTick at one tick per 5 ms. Installing
// again only sets the rate of the callback already installed. OnTick stays
// installed until the module is unloaded.
void StartTickClock();

#endif
