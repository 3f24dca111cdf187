#include "DatafileCheck.h"

#include <allegro.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "LzssUnpack.h"

namespace {

constexpr size_t kLargestFile = 4 << 20;
// Every byte the loader reads, after unpacking: bounds its time and memory.
constexpr size_t kMostUnpacked = 4 << 20;
constexpr uint32_t kMostObjects = 16;
constexpr int kMostProperties = 8;
constexpr int32_t kLongestProperty = 255;
constexpr uint32_t kWidest = 256;
constexpr uint32_t kLongestSample = 1 << 20;

constexpr uint32_t kPlainFile = F_NOPACK_MAGIC;
constexpr uint32_t kPackedFile = F_PACK_MAGIC;

// Big-endian fields, as pack_mgetw and pack_mgetl read them; reading past
// the end fails where the loader would read EOF.
class Reader {
 public:
  Reader(const uint8_t* begin, size_t size) : at_(begin), end_(begin + size) {}
  explicit Reader(const std::string& bytes)
      : Reader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()) {}

  bool Word(uint16_t& value) {
    if (Left() < 2) return false;
    value = uint16_t(at_[0] << 8 | at_[1]);
    at_ += 2;
    return true;
  }
  bool Long(uint32_t& value) {
    if (Left() < 4) return false;
    value = uint32_t(at_[0]) << 24 | uint32_t(at_[1]) << 16 | uint32_t(at_[2]) << 8 | at_[3];
    at_ += 4;
    return true;
  }
  bool Skip(size_t bytes) {
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

// Bytes per pixel as read_bitmap reads them; 0 for depths it can't convert.
size_t PixelBytes(int16_t depth) {
  switch (depth) {
    case 8:
      return 1;
    case 15:
    case 16:
      return 2;
    case 24:
    case 32:  // stored without alpha
      return 3;
    case -32:  // with alpha
      return 4;
    default:
      return 0;
  }
}

bool IsBitmap(Reader body) {
  uint16_t depth, width, height;
  if (!body.Word(depth) || !body.Word(width) || !body.Word(height)) return false;
  const size_t pixel = PixelBytes(int16_t(depth));
  return pixel != 0 && width >= 1 && width <= kWidest && height >= 1 && height <= kWidest &&
         body.Left() == size_t(width) * height * pixel;
}

bool IsSample(Reader body) {
  uint16_t bits, frequency;
  uint32_t length;
  if (!body.Word(bits) || !body.Word(frequency) || !body.Long(length)) return false;
  const int16_t signedBits = int16_t(bits);  // negative: stereo
  const size_t channels = signedBits < 0 ? 2 : 1;
  const int16_t depth = signedBits < 0 ? int16_t(-signedBits) : signedBits;
  if (depth != 8 && depth != 16) return false;
  return frequency != 0 && length >= 1 && length <= kLongestSample &&
         body.Left() == size_t(length) * channels * (depth / 8);
}

bool IsPrintable(const uint8_t* text, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    if (text[i] < 0x20 || text[i] > 0x7E) return false;
  }
  return true;
}

class Walk {
 public:
  // The datafile after its packfile header: signature, count, objects.
  bool Datafile(Reader in) {
    uint32_t magic, count;
    if (!in.Long(magic) || magic != uint32_t(DAT_MAGIC) || !in.Long(count)) return false;
    if (count < 1 || count > kMostObjects) return false;
    for (uint32_t i = 0; i < count; ++i) {
      if (!Object(in)) return false;
    }
    return true;
  }

  // Unpacks packed[0, size) into out as Allegro would, within the budget.
  bool Unpack(const uint8_t* packed, size_t size, size_t wanted, std::string& out,
              size_t& consumed) {
    if (wanted > unpackedBudget_) return false;
    const LzssResult result = UnpackLzss(packed, size, wanted, out);
    unpackedBudget_ -= out.size();
    consumed = result.consumed;
    return !result.unknown;
  }

 private:
  // The properties before an object, then the object as load_file_object
  // and load_object read it.
  bool Object(Reader& in) {
    uint32_t type;
    if (!in.Long(type)) return false;
    for (int properties = 0; type == uint32_t(DAT_PROPERTY); ++properties) {
      if (properties == kMostProperties || !Property(in) || !in.Long(type)) return false;
    }
    if (type != uint32_t(DAT_BITMAP) && type != uint32_t(DAT_SAMPLE)) return false;

    // pack_fopen_chunk: the size in the file, then the size the loader
    // reads, negative when packed. Both must tell the same story.
    uint32_t stored, loaded;
    if (!in.Long(stored) || !in.Long(loaded)) return false;
    std::string unpacked;
    const uint8_t* body = in.At();
    size_t bodySize = loaded;
    if (int32_t(loaded) >= 0) {
      if (stored != loaded || !in.Skip(loaded)) return false;
    } else {
      if (loaded == 0x80000000u) return false;  // negating it overflows
      bodySize = size_t(-int64_t(int32_t(loaded)));
      size_t consumed;
      if (!Unpack(in.At(), in.Left(), bodySize, unpacked, consumed)) return false;
      if (unpacked.size() != bodySize || consumed != stored || !in.Skip(consumed)) return false;
      body = reinterpret_cast<const uint8_t*>(unpacked.data());
    }
    const Reader content(body, bodySize);
    return type == uint32_t(DAT_BITMAP) ? IsBitmap(content) : IsSample(content);
  }

  // _load_property: a type and a text, kept as a string by the loader.
  static bool Property(Reader& in) {
    uint32_t type, length;
    if (!in.Long(type) || !in.Long(length)) return false;
    // A type of DAT_END would end the property list early, leaking the rest.
    const uint8_t name[4] = {uint8_t(type >> 24), uint8_t(type >> 16), uint8_t(type >> 8),
                             uint8_t(type)};
    if (!IsPrintable(name, 4) || int32_t(length) < 0 || int32_t(length) > kLongestProperty) {
      return false;
    }
    const uint8_t* text = in.At();
    return in.Skip(length) && IsPrintable(text, length);
  }

  size_t unpackedBudget_ = kMostUnpacked;
};

// Non-blocking, so a named pipe in the datafile's place can't hang Init;
// Windows has no such pipes, but would translate line ends without binary.
#ifdef _WIN32
constexpr int kReadFlags = O_RDONLY | O_BINARY;
#else
constexpr int kReadFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
#endif

// The whole file, unless it is not a plain file or is too big to be ours.
bool ReadSmallFile(const char* path, std::string& bytes) {
  const int file = open(path, kReadFlags);
  if (file < 0) return false;
  struct stat status {};
  bool read = fstat(file, &status) == 0 && S_ISREG(status.st_mode) &&
              size_t(status.st_size) <= kLargestFile;
  if (read) {
    bytes.resize(size_t(status.st_size));
    size_t got = 0;
    while (got < bytes.size()) {
      const ssize_t part = ::read(file, &bytes[got], bytes.size() - got);
      if (part <= 0) break;
      got += size_t(part);
    }
    read = got == bytes.size();
  }
  close(file);
  return read;
}

}  // namespace

bool IsLoadableDatafile(const char* path) {
  std::string bytes;
  if (!ReadSmallFile(path, bytes)) return false;
  Reader file(bytes);
  // pack_fopen with F_READ_PACKED: a plain or a packed file, nothing else.
  uint32_t header;
  if (!file.Long(header)) return false;
  Walk walk;
  if (header == kPlainFile) return walk.Datafile(file);
  if (header != kPackedFile) return false;
  // The whole rest unpacked, as the loader reads ahead into it.
  std::string unpacked;
  size_t consumed;
  return walk.Unpack(file.At(), file.Left(), kMostUnpacked, unpacked, consumed) &&
         walk.Datafile(Reader(unpacked));
}
