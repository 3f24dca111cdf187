#include "DatafileCheck.h"

#include <allegro.h>

#include <cstdint>
#include <vector>

namespace {

// Far above any datafile of the game; a bigger one is not ours.
constexpr size_t kLargestDatafile = 64 << 20;
constexpr int kDeepestNesting = 8;
constexpr uint32_t kObjectHeader = 12;  // type, compressed size, uncompressed size

class Reader {
 public:
  Reader(const uint8_t* begin, const uint8_t* end) : at_(begin), end_(end) {}

  bool Word(uint32_t& value) {
    if (Left() < 4) return false;
    value = uint32_t(at_[0]) << 24 | uint32_t(at_[1]) << 16 | uint32_t(at_[2]) << 8 | at_[3];
    at_ += 4;
    return true;
  }
  bool Skip(uint32_t bytes) {
    if (Left() < bytes) return false;
    at_ += bytes;
    return true;
  }
  size_t Left() const { return size_t(end_ - at_); }
  const uint8_t* At() const { return at_; }

 private:
  const uint8_t* at_;
  const uint8_t* end_;
};

bool WholeObjects(Reader& in, int depth) {
  uint32_t count;
  if (!in.Word(count) || count > in.Left() / kObjectHeader) return false;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t type, size, unpackedSize;
    if (!in.Word(type)) return false;
    while (type == DAT_PROPERTY) {
      uint32_t property, length;
      if (!in.Word(property) || !in.Word(length) || !in.Skip(length) || !in.Word(type)) {
        return false;
      }
    }
    if (!in.Word(size) || !in.Word(unpackedSize) || size > in.Left()) return false;
    // A child datafile stored as is: its objects must be whole too.
    if (type == DAT_FILE && int32_t(unpackedSize) >= 0) {
      if (depth >= kDeepestNesting) return false;
      Reader child(in.At(), in.At() + size);
      if (!WholeObjects(child, depth + 1)) return false;
    }
    in.Skip(size);
  }
  return true;
}

}  // namespace

bool IsWholeDatafile(const char* path) {
  // F_READ_PACKED checks the signature and undoes the file's compression.
  PACKFILE* file = pack_fopen(path, F_READ_PACKED);
  if (file == nullptr) return false;
  std::vector<uint8_t> bytes;
  uint8_t chunk[4096];
  long got;
  while ((got = pack_fread(chunk, sizeof chunk, file)) > 0 && bytes.size() <= kLargestDatafile) {
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  pack_fclose(file);
  if (bytes.size() > kLargestDatafile) return false;

  Reader in(bytes.data(), bytes.data() + bytes.size());
  uint32_t magic;
  return in.Word(magic) && magic == DAT_MAGIC && WholeObjects(in, 0);
}
