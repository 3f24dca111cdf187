// Synthesises a short mono sound from a few parameters into a 16-bit WAV file.
//
// The sound is a sine whose pitch glides from startHz to endHz mixed with
// deterministic noise, low-passed twice at noiseHz (12 dB an octave), shaped by a quick attack and
// an exponential decay. A flutter beats its loudness flutterHz times a second, dipping by
// flutterDepth (0: steady, 1: to silence between beats). Over the last `release` seconds it fades
// to exactly zero, so it stops without a click, and it is scaled so that its loudest sample is at
// peakDb dBFS. Input lines are "name value"; '#' starts a comment.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "WavFile.h"

namespace {

const std::map<std::string, double> kDefaults = {
    {"rate", 22050},     {"seconds", 0.25}, {"startHz", 1600},  {"endHz", 800},   {"attack", 0.005},
    {"decay", 12},       {"noise", 0.1},    {"noiseHz", 11025}, {"noiseSeed", 1}, {"flutterHz", 20},
    {"flutterDepth", 0}, {"release", 0.02}, {"peakDb", -8},
};
constexpr double kPi = 3.141592653589793;

using Parameters = std::map<std::string, double>;

// The sound before its level is set, in floating point.
std::vector<double> Shape(const Parameters& p, size_t samples) {
  const double rate = p.at("rate");
  // A one-pole low-pass: each output moves this share of the way to the input.
  const double smoothing = 1 - std::exp(-2 * kPi * p.at("noiseHz") / rate);
  const size_t releaseSamples = std::max<size_t>(1, size_t(p.at("release") * rate));
  double phase = 0, smoothed = 0, noise = 0;
  uint32_t noiseState = uint32_t(p.at("noiseSeed"));
  std::vector<double> sound(samples);
  for (size_t i = 0; i < samples; ++i) {
    const double t = double(i) / rate;
    const double progress = double(i) / double(samples);
    phase += 2 * kPi * p.at("startHz") * std::pow(p.at("endHz") / p.at("startHz"), progress) / rate;
    noiseState = noiseState * 1664525u + 1013904223u;
    smoothed += smoothing * ((noiseState >> 8) / double(1 << 24) * 2 - 1 - smoothed);
    noise += smoothing * (smoothed - noise);
    const double beat = 0.5 - 0.5 * std::cos(2 * kPi * p.at("flutterHz") * t);
    const double flutter = 1 - p.at("flutterDepth") * beat;
    const double left = double(samples - 1 - i) / double(releaseSamples);
    const double fade = left >= 1 ? 1 : 0.5 - 0.5 * std::cos(kPi * left);
    const double envelope =
        std::min(1.0, t / p.at("attack")) * std::exp(-p.at("decay") * t) * flutter * fade;
    sound[i] = ((1 - p.at("noise")) * std::sin(phase) + p.at("noise") * noise) * envelope;
  }
  return sound;
}

bool ReadParameters(const char* file, Parameters& p) {
  std::ifstream in(file);
  if (!in) {
    std::cerr << "synth: can't read " << file << "\n";
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (size_t comment = line.find('#'); comment != std::string::npos) line.resize(comment);
    std::istringstream fields(line);
    std::string name;
    double value;
    if (!(fields >> name)) continue;
    if (p.count(name) == 0 || !(fields >> value)) {
      std::cerr << "synth: " << file << ":" << number << ": expected a known 'name value'\n";
      return false;
    }
    p[name] = value;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: synth SOUND.txt OUTPUT.wav\n"
                 "SOUND.txt: lines 'name value', '#' to the end of a line a comment; the names,\n"
                 "with their defaults:\n";
    for (const auto& [name, value] : kDefaults) std::cerr << "  " << name << " " << value << "\n";
    return 2;
  }
  Parameters p = kDefaults;
  if (!ReadParameters(argv[1], p)) return 1;
  const double rate = p["rate"];
  const size_t samples = size_t(p["seconds"] * rate);
  if (rate < 8000 || rate > 48000 || samples < 2 || p["peakDb"] > 0 || p["noiseHz"] <= 0) {
    std::cerr << "synth: rate must be 8000..48000, seconds above 0, peakDb at most 0 and noiseHz "
                 "above 0\n";
    return 1;
  }
  const std::vector<double> sound = Shape(p, samples);
  double peak = 0;
  for (double v : sound) peak = std::max(peak, std::abs(v));
  const double scale = peak > 0 ? std::pow(10, p["peakDb"] / 20) * 32767 / peak : 0;
  Wav wav;
  wav.rate = int(rate);
  wav.channels = 1;
  for (double v : sound) wav.samples.push_back(int16_t(std::lround(v * scale)));
  try {
    WriteWav(argv[2], wav);
  } catch (const std::exception& error) {
    std::cerr << "synth: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
