#include "BinaryKind.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

uint32_t Little(const std::vector<unsigned char>& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + size_t(i)];
  return value;
}

std::string Machine(uint32_t code,
                    const std::initializer_list<std::pair<uint32_t, const char*>>& names) {
  for (const auto& [known, name] : names) {
    if (known == code) return name;
  }
  return "machine " + std::to_string(code);
}

std::string Described(const BinaryKind& kind) {
  const char* system = kind.format == BinaryKind::Format::kElf ? "Linux (ELF)" : "Windows (PE)";
  return std::to_string(kind.bits) + "-bit " + kind.machine + " " + system;
}

}  // namespace

BinaryKind ReadBinaryKind(const std::string& path) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  std::vector<unsigned char> bytes(4096);
  in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
  bytes.resize(size_t(in.gcount()));
  BinaryKind kind;
  if (bytes.size() >= 20 && Little(bytes, 0, 4) == 0x464C457F) {  // "\x7fELF", little-endian
    if (bytes[5] != 1 || (bytes[4] != 1 && bytes[4] != 2)) return kind;
    kind.format = BinaryKind::Format::kElf;
    kind.bits = bytes[4] == 1 ? 32 : 64;
    kind.machine =
        Machine(Little(bytes, 18, 2),
                {{3, "x86"}, {62, "x86-64"}, {40, "ARM"}, {183, "ARM64"}, {243, "RISC-V"}});
    return kind;
  }
  if (bytes.size() >= 64 && bytes[0] == 'M' && bytes[1] == 'Z') {
    const size_t pe = Little(bytes, 60, 4);
    if (pe + 26 > bytes.size() || Little(bytes, pe, 4) != 0x00004550) return kind;  // "PE\0\0"
    const uint32_t optional = Little(bytes, pe + 24, 2);
    if (optional != 0x10B && optional != 0x20B) return kind;
    kind.format = BinaryKind::Format::kPe;
    kind.bits = optional == 0x10B ? 32 : 64;
    kind.machine = Machine(Little(bytes, pe + 4, 2),
                           {{0x14C, "x86"}, {0x8664, "x86-64"}, {0x1C4, "ARM"}, {0xAA64, "ARM64"}});
  }
  return kind;
}

std::string KindMismatch(const BinaryKind& library, const BinaryKind& program) {
  if (library.format == BinaryKind::Format::kUnknown ||
      program.format == BinaryKind::Format::kUnknown) {
    return "";
  }
  const std::string both =
      "a " + Described(library) + " library, and this program is " + Described(program);
  if (library.format != program.format) {
    return both + ": build the module for the system it is played on";
  }
  if (library.bits != program.bits) {
    return both + ": a program loads only modules of its own width; build the module as " +
           std::to_string(program.bits) + "-bit, or play it with a " +
           std::to_string(library.bits) + "-bit gamehost" +
           (program.format == BinaryKind::Format::kPe
                ? std::string(" (the win") + std::to_string(library.bits) + " ZIP's gamehost.exe)"
                : "");
  }
  if (library.machine != program.machine) {
    return both + ": build the module for " + program.machine;
  }
  return "";
}
