// Draws a mono WAV file as a PNG picture for reviewing a sound by eye: its
// waveform on top, and under it a spectrogram, time left to right and
// frequency upwards from 0 Hz to half the sample rate, louder brighter over
// a 90 dB range. Faint lines mark every kHz, ticks every 50 ms.
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "WavFile.h"

namespace {

constexpr int kWindow = 256;  // samples in one analysis window
constexpr int kHop = 16;      // samples between windows: one picture column
constexpr int kBins = kWindow / 2;
constexpr int kRowsPerBin = 2;
constexpr int kWaveHeight = 96;
constexpr double kRangeDb = 90;
constexpr double kPi = 3.141592653589793;

struct Rgb {
  uint8_t r, g, b;
};

class Picture {
 public:
  Picture(int width, int height)
      : width_(width), height_(height), pixels_(size_t(width) * size_t(height)) {}
  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb& At(int x, int y) { return pixels_[size_t(y) * size_t(width_) + size_t(x)]; }
  bool SavePng(const std::string& file) const;

 private:
  int width_, height_;
  std::vector<Rgb> pixels_;
};

bool Picture::SavePng(const std::string& file) const {
  FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  // libpng reports errors by long jump: nothing here needs unwinding.
  if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    std::fclose(out);
    return false;
  }
  png_init_io(png, out);
  png_set_IHDR(png, info, png_uint_32(width_), png_uint_32(height_), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height_; ++y) {
    png_write_row(png, reinterpret_cast<png_const_bytep>(&pixels_[size_t(y) * size_t(width_)]));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(out) == 0;
}

// Black through blue, red and yellow to white as level goes from 0 to 1.
Rgb Heat(double level) {
  const double l = std::clamp(level, 0.0, 1.0);
  auto ramp = [l](double from, double to) {
    return uint8_t(std::lround(255 * std::clamp((l - from) / (to - from), 0.0, 1.0)));
  };
  const uint8_t blue = l < 0.5 ? ramp(0, 0.25) : uint8_t(255 - ramp(0.5, 0.75) + ramp(0.75, 1));
  return {ramp(0.25, 0.5), ramp(0.5, 0.75), blue};
}

// Level in dB of full scale of each frequency bin of one window of samples.
std::vector<double> Spectrum(const std::vector<int16_t>& window) {
  std::vector<double> levels(kBins);
  for (int bin = 0; bin < kBins; ++bin) {
    double re = 0, im = 0;
    for (int n = 0; n < kWindow; ++n) {
      const double sample = window[size_t(n)] / 32768.0;
      const double hann = 0.5 - 0.5 * std::cos(2 * kPi * n / kWindow);
      re += sample * hann * std::cos(2 * kPi * bin * n / kWindow);
      im -= sample * hann * std::sin(2 * kPi * bin * n / kWindow);
    }
    // A full-scale sine fills one bin with a quarter of the window's length.
    const double magnitude = std::hypot(re, im) / (kWindow / 4.0);
    levels[size_t(bin)] = 20 * std::log10(std::max(magnitude, 1e-9));
  }
  return levels;
}

Picture Draw(const Wav& wav) {
  const std::vector<int16_t> sound = wav.Channel(0);
  const int columns = int((sound.size() + kHop - 1) / kHop);
  const int spectrumTop = kWaveHeight + 1;
  Picture picture(columns, spectrumTop + kBins * kRowsPerBin);
  const int middle = kWaveHeight / 2;
  for (int x = 0; x < columns; ++x) {
    // The waveform: the column's lowest to highest sample.
    int low = 0, high = 0;
    for (size_t i = size_t(x) * kHop; i < std::min(sound.size(), size_t(x + 1) * kHop); ++i) {
      low = std::min<int>(low, sound[i]);
      high = std::max<int>(high, sound[i]);
    }
    for (int y = 0; y < kWaveHeight; ++y) {
      const int value = (middle - y) * 32768 / middle;
      const bool inside = value <= high && value >= low;
      picture.At(x, y) = inside ? Rgb{220, 220, 220} : y == middle ? Rgb{90, 90, 90} : Rgb{};
    }
    picture.At(x, kWaveHeight) = {128, 128, 128};
    // The spectrum of the window centred on this column.
    const long start = long(x) * kHop + kHop / 2 - kWindow / 2;
    std::vector<int16_t> window(kWindow, 0);
    for (int n = 0; n < kWindow; ++n) {
      const long at = start + n;
      if (at >= 0 && size_t(at) < sound.size()) window[size_t(n)] = sound[size_t(at)];
    }
    const std::vector<double> levels = Spectrum(window);
    for (int bin = 0; bin < kBins; ++bin) {
      for (int row = 0; row < kRowsPerBin; ++row) {
        const int y = picture.Height() - 1 - (bin * kRowsPerBin + row);
        picture.At(x, y) = Heat(1 + levels[size_t(bin)] / kRangeDb);
      }
    }
  }
  // Guides: a row at every kHz, a tick every 50 ms.
  const double rowsPerHz = double(kBins * kRowsPerBin) / (wav.rate / 2.0);
  for (int khz = 1; khz * 1000 < wav.rate / 2; ++khz) {
    const int y = picture.Height() - 1 - int(std::lround(khz * 1000 * rowsPerHz));
    for (int x = 0; x < columns; x += 2) picture.At(x, y) = {70, 140, 70};
  }
  const double columnsPerTick = 0.05 * wav.rate / kHop;
  for (int tick = 0; tick * columnsPerTick < columns; ++tick) {
    const int x = int(std::lround(tick * columnsPerTick));
    for (int y = 0; y < (tick % 2 == 0 ? 10 : 5); ++y)
      picture.At(x, spectrumTop + y) = {70, 200, 70};
  }
  return picture;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: spectrogram SOUND.wav PICTURE.png\n";
    return 2;
  }
  try {
    const Wav wav = ReadWav(argv[1]);
    if (wav.channels != 1) throw std::runtime_error(std::string(argv[1]) + ": not mono");
    if (!Draw(wav).SavePng(argv[2]))
      throw std::runtime_error(std::string("can't write ") + argv[2]);
  } catch (const std::exception& error) {
    std::cerr << "spectrogram: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
