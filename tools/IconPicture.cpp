#include "IconPicture.h"

#include <png.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

namespace {

constexpr Rgba kTransparent{0, 0, 0, 0};

uint32_t Little(const std::vector<unsigned char>& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size; i-- > 0;) value = value << 8 | bytes.at(at + size_t(i));
  return value;
}

// Where a colour falls from dark to light; transparent is lighter than all.
int Lightness(const Rgba& colour) {
  return colour.a == 0 ? 1 << 20 : 299 * colour.r + 587 * colour.g + 114 * colour.b;
}

IconPicture Enlarge(const IconPicture& art, int side) {
  const int scale = side / art.width;
  const int border = (side - scale * art.width) / 2;
  auto from = [&](int at) { return std::clamp((at - border) / scale, 0, art.width - 1); };
  IconPicture icon(side, side);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) icon.At(x, y) = art.At(from(x), from(y));
  }
  return icon;
}

IconPicture Reduce(const IconPicture& art, int side) {
  const int n = art.width;
  IconPicture icon(side, side);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      // Each colour of the block, from dark to light, and how often it is there.
      std::map<std::pair<int, uint32_t>, int> counts;
      for (int ay = y * n / side; ay < (y + 1) * n / side; ++ay) {
        for (int ax = x * n / side; ax < (x + 1) * n / side; ++ax) {
          const Rgba& c = art.At(ax, ay);
          ++counts[{Lightness(c), uint32_t(c.r) << 24 | c.g << 16 | c.b << 8 | c.a}];
        }
      }
      auto most = counts.begin();
      for (auto it = counts.begin(); it != counts.end(); ++it) {
        if (it->second > most->second) most = it;
      }
      const uint32_t rgba = most->first.second;
      icon.At(x, y) = {uint8_t(rgba >> 24), uint8_t(rgba >> 16), uint8_t(rgba >> 8), uint8_t(rgba)};
    }
  }
  return icon;
}

}  // namespace

IconPicture ReadBmp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("can't read " + path);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>()};
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || Little(bytes, 28, 2) != 24 ||
      Little(bytes, 30, 4) != 0) {
    throw std::runtime_error(path + ": not an uncompressed 24-bit BMP");
  }
  const int width = int(Little(bytes, 18, 4));
  const int height = int(int32_t(Little(bytes, 22, 4)));  // negative: rows run top down
  const int rows = std::abs(height);
  const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
  const size_t start = Little(bytes, 10, 4);
  if (width <= 0 || rows == 0 || width > 4096 || rows > 4096 ||
      start + stride * size_t(rows) > bytes.size()) {
    throw std::runtime_error(path + ": pixels missing or out of bounds");
  }
  IconPicture picture(width, rows);
  for (int y = 0; y < rows; ++y) {
    const size_t row = start + stride * size_t(height > 0 ? rows - 1 - y : y);
    for (int x = 0; x < width; ++x) {
      const unsigned char* bgr = &bytes[row + size_t(x) * 3];
      const Rgba colour{bgr[2], bgr[1], bgr[0], 255};
      picture.At(x, y) = colour == Rgba{255, 0, 255, 255} ? kTransparent : colour;
    }
  }
  return picture;
}

IconPicture ScaleToIcon(const IconPicture& art, int side) {
  if (art.width != art.height || art.width == 0) {
    throw std::invalid_argument("icon art must be square");
  }
  if (side <= 0) throw std::invalid_argument("an icon's side must be positive");
  return side >= art.width ? Enlarge(art, side) : Reduce(art, side);
}

void WritePng(const std::string& path, const IconPicture& picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(picture.width);
  image.height = png_uint_32(picture.height);
  image.format = PNG_FORMAT_RGBA;
  if (!png_image_write_to_file(&image, path.c_str(), 0, picture.pixels.data(), 0, nullptr)) {
    throw std::runtime_error("can't write " + path + ": " + image.message);
  }
}
