// Allegro 4.4's software mixer worked out by hand, for what a sound driver
// receives when mono 16-bit samples play once: each voice stepped through
// its sample in 8-bit fixed point and interpolated (the default quality),
// scaled by its volume and pan with the default volume per voice, summed in
// 24 bits, then clipped to 16. Voices start at the frames given, as they do
// at the start of a mixing buffer after play_sample.
#ifndef FLINTMOOR_TESTS_ALLEGROMIX_H
#define FLINTMOOR_TESTS_ALLEGROMIX_H

#include <allegro.h>

#include <cstdint>
#include <vector>

class AllegroMix {
 public:
  AllegroMix(int mixRate, size_t frames);

  // As play_sample(&sample, volume, pan, 1000, FALSE) would play it.
  void Add(const SAMPLE& sample, int volume, int pan, size_t start);
  size_t Frames() const { return left_.size(); }
  // What the driver gets for a channel (0 left, 1 right) at a frame.
  int16_t Output(int channel, size_t frame) const;
  // Whether any frame is past what 16 bits hold, before clipping.
  bool Clips() const;

 private:
  int mixRate_;
  std::vector<int32_t> left_, right_;
};

// The frames one voice takes at a mixing rate.
size_t VoiceFrames(const SAMPLE& sample, int mixRate);

#endif
