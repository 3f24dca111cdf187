// Turns a picture drawn as text into a 24-bit BMP file.
//
// Input, read from each file named in turn (so a palette can be shared):
// lines "colour C R G B" give character C a colour; the rows of the picture
// follow, one character a pixel, all of the same width. The character '.' is
// always transparent: Allegro's mask colour, bright pink. Lines that start
// with '#' are comments.
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Rgb {
  uint8_t r, g, b;
};

constexpr Rgb kMaskColour{255, 0, 255};

struct Picture {
  std::map<char, Rgb> palette{{'.', kMaskColour}};
  std::vector<std::string> rows;
};

bool Fail(const std::string& message) {
  std::cerr << "pixelart: " << message << "\n";
  return false;
}

bool ReadPicture(std::istream& in, const std::string& name, Picture& picture) {
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    std::string where = name + ":" + std::to_string(number) + ": ";
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("colour ", 0) == 0) {
      std::istringstream fields(line.substr(7));
      char key;
      int r, g, b;
      if (!(fields >> key >> r >> g >> b) || key == '.' || r < 0 || r > 255 || g < 0 || g > 255 ||
          b < 0 || b > 255) {
        return Fail(where + "expected 'colour C R G B' with 0..255 and C not '.'");
      }
      picture.palette[key] = Rgb{uint8_t(r), uint8_t(g), uint8_t(b)};
      continue;
    }
    if (!picture.rows.empty() && line.size() != picture.rows[0].size()) {
      return Fail(where + "row width differs from the first row");
    }
    for (char c : line) {
      if (picture.palette.count(c) == 0) return Fail(where + "no colour for '" + c + "'");
    }
    picture.rows.push_back(line);
  }
  return true;
}

void Put16(std::ostream& out, uint16_t v) {
  out.put(char(v & 0xff)).put(char(v >> 8));
}
void Put32(std::ostream& out, uint32_t v) {
  Put16(out, uint16_t(v & 0xffff));
  Put16(out, uint16_t(v >> 16));
}

void WriteBmp(std::ostream& out, const Picture& picture) {
  const uint32_t width = uint32_t(picture.rows[0].size());
  const uint32_t height = uint32_t(picture.rows.size());
  const uint32_t stride = (width * 3 + 3) & ~3u;
  const uint32_t headers = 14 + 40;
  out << "BM";
  Put32(out, headers + stride * height);
  Put32(out, 0);
  Put32(out, headers);
  Put32(out, 40);  // BITMAPINFOHEADER
  Put32(out, width);
  Put32(out, height);
  Put16(out, 1);   // planes
  Put16(out, 24);  // bits per pixel
  Put32(out, 0);   // no compression
  Put32(out, stride * height);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (uint32_t row = height; row-- > 0;) {  // BMP rows run bottom up
    uint32_t written = 0;
    for (char c : picture.rows[row]) {
      Rgb colour = picture.palette.at(c);
      out.put(char(colour.b)).put(char(colour.g)).put(char(colour.r));
      written += 3;
    }
    for (; written < stride; ++written) out.put(0);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: pixelart [PALETTE.txt ...] PICTURE.txt OUTPUT.bmp\n"
                 "Each file, in turn: lines 'colour C R G B' give character C a colour, then\n"
                 "the rows, one character a pixel, '.' transparent; '#' starts a comment line.\n";
    return 2;
  }
  Picture picture;
  for (int i = 1; i < argc - 1; ++i) {
    std::ifstream in(argv[i]);
    if (!in) {
      Fail(std::string("can't read ") + argv[i]);
      return 1;
    }
    if (!ReadPicture(in, argv[i], picture)) return 1;
  }
  if (picture.rows.empty()) {
    Fail("no rows of pixels");
    return 1;
  }
  std::ofstream out(argv[argc - 1], std::ios::binary);
  WriteBmp(out, picture);
  if (!out) {
    Fail(std::string("can't write ") + argv[argc - 1]);
    return 1;
  }
  return 0;
}
