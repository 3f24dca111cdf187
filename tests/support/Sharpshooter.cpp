#include "Sharpshooter.h"

Sharpshooter::Sharpshooter(IGame& game)
    : game_(game), sky_(create_bitmap(640, 480)), picture_(create_bitmap(640, 480)) {
  MouseInput still{0, 0, 0};
  game_.Update(0, &still);
  game_.Draw(sky_);
  game_.Draw(picture_);
}

Sharpshooter::~Sharpshooter() {
  destroy_bitmap(picture_);
  destroy_bitmap(sky_);
}

// A point unlike the empty sky, below the score line.
bool Sharpshooter::FindTarget(int& x, int& y) const {
  for (y = 40; y < 480; y += 6) {
    for (x = 0; x < 640; x += 6) {
      if (getpixel(picture_, x, y) != getpixel(sky_, x, y)) return true;
    }
  }
  return false;
}

int32_t Sharpshooter::Frame(bool aiming) {
  int x = 0, y = 0;
  bool press = aiming && frame_++ % 4 == 0 && FindTarget(x, y);
  MouseInput mouse{x + 6, y + 6, press ? 1 : 0};
  int32_t escaped = game_.Update(0, &mouse);
  game_.Draw(picture_);
  return escaped;
}
