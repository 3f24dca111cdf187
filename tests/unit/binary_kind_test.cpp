// A module file's kind, read from its header, and what gamehost says when it
// can never load into the program: the loaders' own words don't tell 32
// bits from 64.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "BinaryKind.h"

namespace {

class HeaderFile {
 public:
  explicit HeaderFile(const std::vector<uint8_t>& bytes)
      : path_(testing::TempDir() + "binary-kind-" + std::to_string(count_++)) {
    std::ofstream(path_, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  ~HeaderFile() { std::remove(path_.c_str()); }
  const std::string& Path() const { return path_; }

 private:
  static inline int count_ = 0;
  std::string path_;
};

void Put(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[at + size_t(i)] = uint8_t(value >> (8 * i));
}

std::vector<uint8_t> Elf(uint8_t elfClass, uint16_t machine) {
  std::vector<uint8_t> bytes(64, 0);
  Put(bytes, 0, 0x464C457F, 4);
  bytes[4] = elfClass;
  bytes[5] = 1;  // little-endian
  Put(bytes, 18, machine, 2);
  return bytes;
}

std::vector<uint8_t> Pe(uint16_t machine, uint16_t optionalMagic) {
  std::vector<uint8_t> bytes(512, 0);
  bytes[0] = 'M';
  bytes[1] = 'Z';
  Put(bytes, 60, 128, 4);  // where the PE header is
  Put(bytes, 128, 0x00004550, 4);
  Put(bytes, 132, machine, 2);
  Put(bytes, 152, optionalMagic, 2);
  return bytes;
}

std::string Read(const std::vector<uint8_t>& bytes) {
  const BinaryKind kind = ReadBinaryKind(HeaderFile(bytes).Path());
  const char* format = kind.format == BinaryKind::Format::kElf  ? "ELF"
                       : kind.format == BinaryKind::Format::kPe ? "PE"
                                                                : "unknown";
  return std::string(format) + " " + std::to_string(kind.bits) + " " + kind.machine;
}

TEST(BinaryKindTest, ReadsFormatWidthAndMachineFromTheHeader) {
  EXPECT_EQ(Read(Elf(2, 62)), "ELF 64 x86-64");
  EXPECT_EQ(Read(Elf(1, 3)), "ELF 32 x86");
  EXPECT_EQ(Read(Elf(2, 183)), "ELF 64 ARM64");
  EXPECT_EQ(Read(Pe(0x8664, 0x20B)), "PE 64 x86-64");
  EXPECT_EQ(Read(Pe(0x14C, 0x10B)), "PE 32 x86");
  EXPECT_EQ(Read(Pe(0x9999, 0x20B)), "PE 64 machine 39321");
  // Neither, or cut short: nothing to say, the loader speaks.
  EXPECT_EQ(Read({'h', 'e', 'l', 'l', 'o', '\n'}), "unknown 0 ");
  std::vector<uint8_t> cut = Pe(0x8664, 0x20B);
  cut.resize(100);
  EXPECT_EQ(Read(cut), "unknown 0 ");
  std::vector<uint8_t> noSignature = Pe(0x8664, 0x20B);
  noSignature[129] = 'X';
  EXPECT_EQ(Read(noSignature), "unknown 0 ");
  EXPECT_EQ(ReadBinaryKind("/no/such/file").format, BinaryKind::Format::kUnknown);
}

TEST(BinaryKindTest, AMismatchNamesBothKindsAndWhatToDo) {
  const BinaryKind pe64{BinaryKind::Format::kPe, 64, "x86-64"};
  const BinaryKind pe32{BinaryKind::Format::kPe, 32, "x86"};
  const BinaryKind elf64{BinaryKind::Format::kElf, 64, "x86-64"};
  const BinaryKind elf32{BinaryKind::Format::kElf, 32, "x86"};
  const BinaryKind arm64{BinaryKind::Format::kElf, 64, "ARM64"};
  EXPECT_EQ(KindMismatch(pe64, pe64), "");
  EXPECT_EQ(KindMismatch(BinaryKind{}, pe64), "");
  EXPECT_EQ(KindMismatch(pe64, BinaryKind{}), "");

  const std::string windows = KindMismatch(pe32, pe64);
  EXPECT_NE(windows.find("a 32-bit x86 Windows (PE) library, and this program is 64-bit x86-64 "
                         "Windows (PE)"),
            std::string::npos)
      << windows;
  EXPECT_NE(windows.find("the win32 ZIP's gamehost.exe"), std::string::npos) << windows;
  const std::string onLinux = KindMismatch(elf32, elf64);
  EXPECT_NE(onLinux.find("build the module as 64-bit, or play it with a 32-bit gamehost"),
            std::string::npos)
      << onLinux;
  EXPECT_EQ(onLinux.find("ZIP"), std::string::npos) << onLinux;
  EXPECT_NE(KindMismatch(pe64, elf64).find("for the system it is played on"), std::string::npos);
  EXPECT_NE(KindMismatch(arm64, elf64).find("build the module for x86-64"), std::string::npos);
}

}  // namespace
