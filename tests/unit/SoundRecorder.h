// Records the samples the game plays instead of playing them. The test
// program's own play_sample takes the place of Allegro's for the game code
// linked into it, so the sound rules can be seen without a sound card.
#ifndef FLINTMOOR_TESTS_SOUNDRECORDER_H
#define FLINTMOOR_TESTS_SOUNDRECORDER_H

#include <allegro.h>

#include <vector>

struct PlayedSample {
  const SAMPLE* sample;
  int volume, pan, frequency, loop;
};

// Every play_sample call since the last Clear.
std::vector<PlayedSample>& PlayedSamples();

#endif
