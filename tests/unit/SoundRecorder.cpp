#include "SoundRecorder.h"

std::vector<PlayedSample>& PlayedSamples() {
  static std::vector<PlayedSample> played;
  return played;
}

int play_sample(const SAMPLE* sample, int volume, int pan, int frequency, int loop) {
  PlayedSamples().push_back({sample, volume, pan, frequency, loop});
  return 0;
}
