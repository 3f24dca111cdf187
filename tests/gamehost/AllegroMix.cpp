#include "AllegroMix.h"

#include <algorithm>

namespace {

constexpr int kFixShift = 8;  // the mixer's fixed-point position
constexpr int32_t kLowest = -0x800000, kHighest = 0x7fffff;

// The per-channel gain in 16-bit fixed point for a volume and a pan, with one
// voice allowed full scale on one side (Allegro's default volume per voice).
int32_t ChannelGain(int volume, int side) {
  int32_t gain = volume * side;
  gain += gain >> 7;
  return std::clamp(gain, 0, 65535);
}

long Step(const SAMPLE& sample, int mixRate) {
  return (long(sample.freq) << kFixShift) / mixRate;
}

}  // namespace

size_t VoiceFrames(const SAMPLE& sample, int mixRate) {
  const long end = long(sample.len) << kFixShift, step = Step(sample, mixRate);
  return size_t((end + step - 1) / step);
}

AllegroMix::AllegroMix(int mixRate, size_t frames)
    : mixRate_(mixRate), left_(frames), right_(frames) {}

void AllegroMix::Add(const SAMPLE& sample, int volume, int pan, size_t start) {
  const auto* data = static_cast<const uint16_t*>(sample.data);
  const long end = long(sample.len) << kFixShift, step = Step(sample, mixRate_);
  const int32_t leftGain = ChannelGain(volume, 255 - pan), rightGain = ChannelGain(volume, pan);
  size_t frame = start;
  for (long pos = 0; pos < end && frame < left_.size(); pos += step, ++frame) {
    const long at = pos >> kFixShift;
    const int32_t v1 = (data[at] << 8) - 0x800000;
    // Past the last sample the line runs to silence.
    const int32_t v2 = pos >= end - (1 << kFixShift) ? 0 : (data[at + 1] << 8) - 0x800000;
    const int32_t fraction = int32_t(pos & ((1 << kFixShift) - 1));
    const int32_t v = (v2 * fraction + v1 * ((1 << kFixShift) - fraction)) >> kFixShift;
    left_[frame] += int32_t((int64_t(v) * leftGain) >> 16);
    right_[frame] += int32_t((int64_t(v) * rightGain) >> 16);
  }
}

int16_t AllegroMix::Output(int channel, size_t frame) const {
  const int32_t mixed = (channel == 0 ? left_ : right_)[frame];
  return int16_t(std::clamp(mixed, kLowest, kHighest) >> 8);
}

bool AllegroMix::Clips() const {
  auto outside = [](int32_t v) { return v < kLowest || v > kHighest; };
  return std::any_of(left_.begin(), left_.end(), outside) ||
         std::any_of(right_.begin(), right_.end(), outside);
}
