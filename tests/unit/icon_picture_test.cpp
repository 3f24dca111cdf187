// The game's icon art read back from the BMP that pixelart draws, and
// scaled to the icon theme's sizes with sharp pixels.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "IconPicture.h"

namespace {

const std::string kArt = std::string(FLINTMOOR_SOURCE_DIR) + "/assets/flintmoor/art/";
const std::string kParts = FLINTMOOR_PARTS_DIR;

// A picture drawn as text, read here on its own: "colour C R G B" lines
// from the palette and the picture, then rows, '.' transparent.
IconPicture FromText(const std::vector<std::string>& files) {
  std::map<char, Rgba> colours{{'.', {0, 0, 0, 0}}};
  std::vector<std::string> rows;
  for (const std::string& file : files) {
    std::ifstream in(file);
    EXPECT_TRUE(in) << file;
    for (std::string line; std::getline(in, line);) {
      if (line.empty() || line[0] == '#') continue;
      std::istringstream fields(line);
      std::string word;
      char key;
      int r, g, b;
      if (line.rfind("colour ", 0) == 0 && fields >> word >> key >> r >> g >> b) {
        colours[key] = {uint8_t(r), uint8_t(g), uint8_t(b), 255};
      } else {
        rows.push_back(line);
      }
    }
  }
  IconPicture picture(int(rows.at(0).size()), int(rows.size()));
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) picture.At(x, y) = colours.at(rows[y][x]);
  }
  return picture;
}

IconPicture Art(std::initializer_list<std::initializer_list<Rgba>> rows) {
  IconPicture picture(int(rows.begin()->size()), int(rows.size()));
  int y = 0;
  for (const auto& row : rows) {
    int x = 0;
    for (const Rgba& colour : row) picture.At(x++, y) = colour;
    ++y;
  }
  return picture;
}

constexpr Rgba kDark{38, 26, 18, 255}, kBrown{150, 88, 40, 255}, kSky{100, 160, 254, 255},
    kClear{0, 0, 0, 0};

TEST(IconPictureTest, ReadsTheArtAsPixelartDrewIt) {
  // Rows bottom up and colours blue first in the file; the mask colour clear.
  for (const char* name : {"icon", "flying0"}) {
    const IconPicture read = ReadBmp(kParts + "/" + name + ".bmp");
    const IconPicture drawn = FromText({kArt + "palette.txt", kArt + name + ".txt"});
    ASSERT_EQ(read.width, drawn.width) << name;
    ASSERT_EQ(read.height, drawn.height) << name;
    EXPECT_TRUE(read.pixels == drawn.pixels) << name;
  }
  EXPECT_THROW(ReadBmp(kArt + "icon.txt"), std::runtime_error);
  EXPECT_THROW(ReadBmp(kParts + "/no-such.bmp"), std::runtime_error);
}

TEST(IconPictureTest, LargerIconsAreWholePixelsCentredWithTheEdgesCarriedOn) {
  const IconPicture art = ReadBmp(kParts + "/icon.bmp");
  const IconPicture twice = ScaleToIcon(art, 2 * art.width);
  for (int y = 0; y < twice.height; ++y) {
    for (int x = 0; x < twice.width; ++x) {
      ASSERT_EQ(twice.At(x, y), art.At(x / 2, y / 2)) << x << "," << y;
    }
  }
  // 3x3 to 8x8: twice, centred, in a one-pixel border of the nearest edge.
  const IconPicture small = Art({{kDark, kSky, kSky}, {kSky, kBrown, kSky}, {kSky, kSky, kClear}});
  const IconPicture icon = ScaleToIcon(small, 8);
  const std::string expected[] = {"DDDSSSSS", "DDDSSSSS", "DDDSSSSS", "SSSBBSSS",
                                  "SSSBBSSS", "SSSSS...", "SSSSS...", "SSSSS..."};
  const std::map<char, Rgba> key{{'D', kDark}, {'S', kSky}, {'B', kBrown}, {'.', kClear}};
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(icon.At(x, y), key.at(expected[y][x])) << x << "," << y;
  }
}

TEST(IconPictureTest, SmallerIconsKeepTheCommonestColourAndOneWideOutlines) {
  // Each 2x2 block gives the colour most of it has; of two tied, the darker,
  // so a one-pixel outline survives halving; clear loses every tie.
  const IconPicture art = Art({{kSky, kBrown, kDark, kSky},
                               {kDark, kSky, kDark, kSky},
                               {kClear, kClear, kBrown, kClear},
                               {kBrown, kClear, kClear, kBrown}});
  const IconPicture icon = ScaleToIcon(art, 2);
  EXPECT_EQ(icon.At(0, 0), kSky);    // two sky beat a darker one
  EXPECT_EQ(icon.At(1, 0), kDark);   // two dark, two sky
  EXPECT_EQ(icon.At(0, 1), kClear);  // three clear, one brown
  EXPECT_EQ(icon.At(1, 1), kBrown);  // two brown, two clear
}

}  // namespace
