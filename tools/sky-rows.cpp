// Prints one line for each row of a PNG picture: the row's colour as
// RRGGBB when the whole row is that one colour (the game's sky is, row by
// row), else "-". Two screenshots' sky can then be compared line by line.
// Usage: sky-rows PICTURE.png
#include <png.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: sky-rows PICTURE.png\n");
    return 2;
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, argv[1])) {
    std::fprintf(stderr, "sky-rows: %s: %s\n", argv[1], image.message);
    return 1;
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    std::fprintf(stderr, "sky-rows: %s: %s\n", argv[1], image.message);
    return 1;
  }
  const size_t stride = size_t(image.width) * 3;
  for (png_uint_32 y = 0; y < image.height; ++y) {
    const png_byte* row = &pixels[y * stride];
    bool oneColour = true;
    for (size_t x = 3; x < stride && oneColour; x += 3) {
      oneColour = row[x] == row[0] && row[x + 1] == row[1] && row[x + 2] == row[2];
    }
    if (oneColour) {
      std::printf("%02X%02X%02X\n", row[0], row[1], row[2]);
    } else {
      std::printf("-\n");
    }
  }
  return 0;
}
