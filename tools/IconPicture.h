// The game's icon art made into the square icons a desktop's icon theme
// holds, one a size, with sharp pixels: every pixel of the result is a
// colour of the art, never a blend of two.
#ifndef FLINTMOOR_TOOLS_ICONPICTURE_H
#define FLINTMOOR_TOOLS_ICONPICTURE_H

#include <cstdint>
#include <string>
#include <vector>

struct Rgba {
  uint8_t r, g, b, a;
  bool operator==(const Rgba& other) const {
    return r == other.r && g == other.g && b == other.b && a == other.a;
  }
};

struct IconPicture {
  int width = 0, height = 0;
  std::vector<Rgba> pixels;  // row by row from the top

  IconPicture() = default;
  IconPicture(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h)) {}
  Rgba& At(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  const Rgba& At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// Reads an uncompressed 24-bit BMP, as tools/pixelart writes: Allegro's mask
// colour, bright pink, reads as transparent. Throws std::runtime_error for
// a file that is missing or of another kind.
IconPicture ReadBmp(const std::string& path);

// The square art as a side x side icon. Larger: each art pixel becomes a
// square of the largest whole number of pixels that fits, centred, and the
// art's edge pixels carry on into the border left over. Smaller: each icon
// pixel takes the colour most of its block of art pixels have, the darkest
// of those tied, so one-pixel outlines survive halving.
IconPicture ScaleToIcon(const IconPicture& art, int side);

// Throws std::runtime_error when the file can't be written.
void WritePng(const std::string& path, const IconPicture& picture);

#endif
