#include "LzssUnpack.h"

#include <array>

namespace {
constexpr unsigned kWindow = 4096;  // N in Allegro's lzss.c
constexpr unsigned kLongest = 18;   // F: the longest copy
constexpr unsigned kShortest = 3;   // THRESHOLD + 1: the shortest copy
}  // namespace

LzssResult UnpackLzss(const uint8_t* packed, size_t size, size_t wanted, std::string& out) {
  LzssResult result;
  // Allegro zeroes only the first N - F window bytes; the rest hold
  // whatever malloc gave, so a copy from them has no known value.
  std::array<uint8_t, kWindow> window{};
  std::array<bool, kWindow> known{};
  for (unsigned i = 0; i < kWindow - kLongest; ++i) known[i] = true;
  unsigned put = kWindow - kLongest;
  auto emit = [&](uint8_t byte) {
    window[put] = byte;
    known[put] = true;
    put = (put + 1) % kWindow;
    out.push_back(char(byte));
  };

  size_t at = 0;
  size_t produced = 0;
  unsigned flags = 0;  // the high byte counts the eight items a flag byte covers
  while (produced < wanted) {
    if (((flags >>= 1) & 0x100) == 0) {
      if (at == size) break;
      flags = packed[at++] | 0xFF00u;
    }
    if (flags & 1) {
      if (at == size) break;
      emit(packed[at++]);
      ++produced;
      continue;
    }
    if (size - at < 2) {
      at = size;  // Allegro reads the one byte there before it stops
      break;
    }
    const unsigned from = packed[at] | (packed[at + 1] & 0xF0u) << 4;
    const unsigned length = (packed[at + 1] & 0x0Fu) + kShortest;
    at += 2;
    for (unsigned k = 0; k < length && produced < wanted; ++k, ++produced) {
      const unsigned source = (from + k) % kWindow;
      if (!known[source]) {
        result.unknown = true;
        result.consumed = at;
        return result;
      }
      emit(window[source]);
    }
  }
  result.consumed = at;
  return result;
}
