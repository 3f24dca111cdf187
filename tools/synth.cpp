// Synthesises a short mono sound from a few parameters into a 16-bit WAV file.
//
// The sound is a sine whose pitch glides from startHz to endHz, with a little
// deterministic noise mixed in, shaped by a quick attack and an exponential
// decay. Input lines are "name value"; '#' starts a comment.
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

namespace {

const std::map<std::string, double> kDefaults = {
    {"rate", 22050}, {"seconds", 0.25}, {"startHz", 1600}, {"endHz", 800},   {"attack", 0.005},
    {"decay", 12},   {"noise", 0.1},    {"volume", 0.8},   {"noiseSeed", 1},
};

void Put16(std::ostream& out, uint16_t v) {
  out.put(char(v & 0xff)).put(char(v >> 8));
}
void Put32(std::ostream& out, uint32_t v) {
  Put16(out, uint16_t(v & 0xffff));
  Put16(out, uint16_t(v >> 16));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: synth SOUND.txt OUTPUT.wav\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << "synth: can't read " << argv[1] << "\n";
    return 1;
  }
  std::map<std::string, double> p = kDefaults;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (size_t comment = line.find('#'); comment != std::string::npos) line.resize(comment);
    std::istringstream fields(line);
    std::string name;
    double value;
    if (!(fields >> name)) continue;
    if (p.count(name) == 0 || !(fields >> value)) {
      std::cerr << "synth: " << argv[1] << ":" << number << ": expected a known 'name value'\n";
      return 1;
    }
    p[name] = value;
  }
  const double rate = p["rate"];
  const uint32_t samples = uint32_t(p["seconds"] * rate);
  if (rate < 8000 || rate > 48000 || samples == 0) {
    std::cerr << "synth: rate must be 8000..48000 and seconds above 0\n";
    return 1;
  }

  std::ofstream out(argv[2], std::ios::binary);
  out << "RIFF";
  Put32(out, 36 + samples * 2);
  out << "WAVEfmt ";
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, uint32_t(rate));
  Put32(out, uint32_t(rate) * 2);
  Put16(out, 2);
  Put16(out, 16);
  out << "data";
  Put32(out, samples * 2);

  const double kTwoPi = 6.283185307179586;
  double phase = 0;
  uint32_t noiseState = uint32_t(p["noiseSeed"]);
  for (uint32_t i = 0; i < samples; ++i) {
    double t = i / rate;
    double progress = double(i) / samples;
    double hz = p["startHz"] * std::pow(p["endHz"] / p["startHz"], progress);
    phase += kTwoPi * hz / rate;
    noiseState = noiseState * 1664525u + 1013904223u;
    double noise = (noiseState >> 8) / double(1 << 24) * 2 - 1;
    double envelope = std::min(1.0, t / p["attack"]) * std::exp(-p["decay"] * t);
    double v = ((1 - p["noise"]) * std::sin(phase) + p["noise"] * noise) * envelope;
    Put16(out, uint16_t(int16_t(std::lround(v * p["volume"] * 32767))));
  }
  if (!out) {
    std::cerr << "synth: can't write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}
