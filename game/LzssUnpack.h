// Allegro's LZSS unpacking, byte for byte as its packfile layer reads a
// packed file or a packed datafile object, so a check sees exactly the
// bytes the loader will see.
#ifndef FLINTMOOR_GAME_LZSSUNPACK_H
#define FLINTMOOR_GAME_LZSSUNPACK_H

#include <cstddef>
#include <cstdint>
#include <string>

struct LzssResult {
  size_t consumed = 0;   // packed bytes read, as Allegro would read them
  bool unknown = false;  // a copy reached window bytes Allegro never sets
};

// Unpacks from packed[0, size) until `wanted` bytes are out or the input
// ends, appending to out. Allegro stops at the wanted count in the middle
// of a copy too; so does this. Bytes are kept in a std::string: its code is
// libstdc++'s, so none of it is exported from the module.
LzssResult UnpackLzss(const uint8_t* packed, size_t size, size_t wanted, std::string& out);

#endif
