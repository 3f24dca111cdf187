#include "WavFile.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

uint32_t Little(const std::string& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | uint8_t(bytes[at + size_t(i)]);
  return value;
}

void Put(std::ostream& out, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out.put(char(value >> (8 * i) & 0xff));
}

}  // namespace

std::vector<int16_t> Wav::Channel(int channel) const {
  std::vector<int16_t> one;
  one.reserve(Frames());
  for (size_t i = size_t(channel); i < samples.size(); i += size_t(channels)) {
    one.push_back(samples[i]);
  }
  return one;
}

Wav ReadWav(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("can't read " + path);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
    throw std::runtime_error(path + ": not a WAV file");
  }
  Wav wav;
  for (size_t at = 12; at + 8 <= bytes.size();) {
    const std::string id = bytes.substr(at, 4);
    const size_t size = Little(bytes, at + 4, 4);
    const size_t body = at + 8;
    if (id == "fmt " && body + 16 <= bytes.size()) {
      if (Little(bytes, body, 2) != 1 || Little(bytes, body + 14, 2) != 16) {
        throw std::runtime_error(path + ": not 16-bit PCM");
      }
      wav.channels = int(Little(bytes, body + 2, 2));
      wav.rate = int(Little(bytes, body + 4, 4));
    } else if (id == "data") {
      const size_t end = size == 0 || body + size > bytes.size() ? bytes.size() : body + size;
      for (size_t i = body; i + 2 <= end; i += 2) {
        wav.samples.push_back(int16_t(Little(bytes, i, 2)));
      }
      break;
    }
    at = body + size + (size & 1);
  }
  if (wav.channels <= 0 || wav.rate <= 0) throw std::runtime_error(path + ": no format chunk");
  return wav;
}

void WriteWav(const std::string& path, const Wav& wav) {
  std::ofstream out(path, std::ios::binary);
  const uint32_t dataBytes = uint32_t(wav.samples.size() * 2);
  const uint32_t frameBytes = uint32_t(wav.channels * 2);
  out << "RIFF";
  Put(out, 36 + dataBytes, 4);
  out << "WAVEfmt ";
  Put(out, 16, 4);
  Put(out, 1, 2);  // PCM
  Put(out, uint32_t(wav.channels), 2);
  Put(out, uint32_t(wav.rate), 4);
  Put(out, uint32_t(wav.rate) * frameBytes, 4);
  Put(out, frameBytes, 2);
  Put(out, 16, 2);
  out << "data";
  Put(out, dataBytes, 4);
  for (int16_t sample : wav.samples) Put(out, uint16_t(sample), 2);
  if (!out) throw std::runtime_error("can't write " + path);
}
