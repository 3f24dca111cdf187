#include "SessionFixture.h"

#include <filesystem>
#include <fstream>

int PixelsOf(const XWindowPlace& window, Rgb colour) {
  ScreenPixels screen;
  int count = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) count += screen.At(window.x + x, window.y + y) == colour;
  }
  return count;
}

Rgb Corner(const XWindowPlace& window) {
  return ScreenPixels().At(window.x + 639, window.y);
}

namespace {

// Up to 15 s: a busy machine answers late, but a person would see it.
bool SkyBecomes(const XWindowPlace& window, bool shown) {
  for (int i = 0; i < 300; ++i) {
    if ((Corner(window) == kFirstSkyRow) == shown) return true;
    Wait(50);
  }
  return false;
}

}  // namespace

bool GameShows(const XWindowPlace& window) {
  return SkyBecomes(window, true);
}

bool GameHidden(const XWindowPlace& window) {
  return SkyBecomes(window, false);
}

void SessionTest::WriteScores(const std::string& text) const {
  std::filesystem::create_directories(data_.Path() + "/gamehost");
  std::ofstream(ScoresFile(), std::ios::binary) << text;
}
