#include "SessionFixture.h"

#include <filesystem>
#include <fstream>

Rgb Corner(const XWindowPlace& window) {
  return ScreenPixels().At(window.x + 639, window.y);
}

bool Eventually(const std::function<bool()>& seen) {
  for (int i = 0; i < 300; ++i) {
    if (seen()) return true;
    Wait(50);
  }
  return false;
}

bool CornerShows(const XWindowPlace& window, const Rgb& colour) {
  return Eventually([&] { return Corner(window) == colour; });
}

bool GameShows(const XWindowPlace& window) {
  return CornerShows(window, kFirstSkyRow);
}

bool GameHidden(const XWindowPlace& window) {
  return Eventually([&] { return !(Corner(window) == kFirstSkyRow); });
}

bool PressUntil(const XWindowPlace& window, const std::string& keys, const std::string& title) {
  for (int tries = 0; tries < 4; ++tries) {
    PressKey(window, keys);
    if (FindWindow(title, 5)) return true;
  }
  return false;
}

int QuitWith(HostProcess& host, const XWindowPlace& window, const std::string& key) {
  for (int tries = 0; tries < int(kExitSeconds / 2); ++tries) {
    PressKey(window, key);
    if (const std::optional<int> status = host.Ended(2)) return *status;
  }
  return host.Wait(0);
}

void SessionTest::WriteScores(const std::string& text) const {
  std::filesystem::create_directories(data_.Path() + "/gamehost");
  std::ofstream(ScoresFile(), std::ios::binary) << text;
}
