#include "Datafiles.h"

#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "Command.h"
#include "WorkingFolder.h"

namespace fs = std::filesystem;

std::vector<DatObject> GameObjects() {
  return {{"flying0.bmp", "BMP"},
          {"flying1.bmp", "BMP"},
          {"hit0.bmp", "BMP"},
          {"hit1.bmp", "BMP"},
          {"flush.wav", "SAMP"}};
}

std::string PackDatafile(const std::vector<DatObject>& objects, const std::string& compression) {
  std::string target =
      (fs::temp_directory_path() / ("flintmoor-pack-" + std::to_string(getpid()) + ".dat"))
          .string();
  fs::remove(target);
  for (const DatObject& object : objects) {
    fs::path file = fs::path(FLINTMOOR_PARTS_DIR) / object.file;
    std::string command = Quoted(FLINTMOOR_DAT_TOOL);
    command += " -a -n0 -s1 " + compression + " -bpp 32 -transparency -t " + object.type;
    command += " " + Quoted(target) + " " + Quoted(file.string());
    const Outcome packed = RunCommand(command);
    if (packed.status != 0) throw std::runtime_error(command + " failed:\n" + packed.output);
  }
  std::string bytes = ReadFile(target);
  fs::remove(target);
  return bytes;
}

std::string Long(uint32_t value) {
  return Word(uint16_t(value >> 16)) + Word(uint16_t(value));
}

std::string Word(uint16_t value) {
  return {char(value >> 8), char(value & 0xFF)};
}

std::string Datafile(uint32_t count, const std::string& objects) {
  return "slh.ALL." + Long(count) + objects;
}

std::string Object(const std::string& type, const std::string& body) {
  return Object(type, uint32_t(body.size()), uint32_t(body.size()), body);
}

std::string Object(const std::string& type, uint32_t stored, uint32_t loaded,
                   const std::string& body) {
  return type + Long(stored) + Long(loaded) + body;
}

std::string PackedObject(const std::string& type, const std::string& body) {
  const std::string packed = Packed(body);
  return Object(type, uint32_t(packed.size()), uint32_t(-int32_t(body.size())), packed);
}

std::string Property(const std::string& type, const std::string& text) {
  return "prop" + type + Long(uint32_t(text.size())) + text;
}

namespace {
size_t PixelBytes(int16_t depth) {
  return depth == -32 ? 4 : depth == 8 ? 1 : depth == 15 || depth == 16 ? 2 : 3;
}
}  // namespace

std::string BitmapBody(int16_t depth, uint16_t width, uint16_t height, size_t bytes) {
  if (bytes == SIZE_MAX) bytes = size_t(width) * height * PixelBytes(depth);
  return Word(uint16_t(depth)) + Word(width) + Word(height) + std::string(bytes, '\x40');
}

std::string SampleBody(int16_t bits, uint16_t frequency, uint32_t length, size_t bytes) {
  if (bytes == SIZE_MAX) bytes = size_t(length) * (bits < 0 ? 2 : 1) * (std::abs(bits) / 8);
  return Word(uint16_t(bits)) + Word(frequency) + Long(length) + std::string(bytes, '\x10');
}

std::string Packed(const std::string& bytes) {
  std::string packed;
  for (size_t at = 0; at < bytes.size(); at += 8) {
    packed += '\xFF';  // the next eight items are literals
    packed += bytes.substr(at, 8);
  }
  return packed;
}

std::string PackedZeros(size_t copies) {
  // A copy of 18 bytes from the window's start, which Allegro zeroes.
  std::string packed;
  for (size_t i = 0; i < copies; i += 8) {
    packed += '\0';
    for (size_t k = i; k < copies && k < i + 8; ++k) packed += std::string{'\0', '\x0F'};
  }
  return packed;
}
