// Makes one size of the game's icon for a desktop's icon theme: the icon
// art (a BMP, as tools/pixelart draws it) scaled with sharp pixels to a
// square PNG.
// Usage: icon-png ART.bmp SIDE ICON.png
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "IconPicture.h"

int main(int argc, char** argv) {
  if (argc != 4 || std::atoi(argv[2]) <= 0) {
    std::cerr << "usage: icon-png ART.bmp SIDE ICON.png\n";
    return 2;
  }
  try {
    WritePng(argv[3], ScaleToIcon(ReadBmp(argv[1]), std::atoi(argv[2])));
  } catch (const std::exception& error) {
    std::cerr << "icon-png: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
