// 16-bit PCM WAV files: what the sound generator writes, the spectrogram
// draws, and the sound tests read back from a recording.
#ifndef FLINTMOOR_TOOLS_WAVFILE_H
#define FLINTMOOR_TOOLS_WAVFILE_H

#include <cstdint>
#include <string>
#include <vector>

struct Wav {
  int rate = 0;
  int channels = 0;
  std::vector<int16_t> samples;  // interleaved, one frame after another

  size_t Frames() const { return channels > 0 ? samples.size() / size_t(channels) : 0; }
  // One channel's samples.
  std::vector<int16_t> Channel(int channel) const;
};

// Throws std::runtime_error when the file is missing or not 16-bit PCM. A
// data chunk whose length was never filled in, as in a recording that was not
// closed, runs to the end of the file.
Wav ReadWav(const std::string& path);
// Throws std::runtime_error when the file can't be written.
void WriteWav(const std::string& path, const Wav& wav);

#endif
