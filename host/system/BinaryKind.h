// What kind of program or library a file holds, read from its header: a
// Linux ELF or a Windows PE file, 32 or 64 bits, for which processor. A
// module of another kind than the program can never load, and the loader's
// own words for that ("wrong ELF class", Windows's "Bad EXE format for %1")
// don't say what to do: kept as plain file reading, so it can be checked
// on any system.
#ifndef FLINTMOOR_HOST_BINARYKIND_H
#define FLINTMOOR_HOST_BINARYKIND_H

#include <string>

struct BinaryKind {
  enum class Format { kUnknown, kElf, kPe } format = Format::kUnknown;
  int bits = 0;         // 32 or 64
  std::string machine;  // "x86-64", "x86", "ARM64", ... or a number
};

// The file's kind; kUnknown when it is neither, or can't be read.
BinaryKind ReadBinaryKind(const std::string& path);

// Why a library of kind `library` can't be loaded into a program of kind
// `program`, naming both: empty when it could be, or when either is unknown.
std::string KindMismatch(const BinaryKind& library, const BinaryKind& program);

#endif
