// One frame of the game's picture: sky, targets, score line, doubled.
#include "Flintmoor.h"
#include "Resources.h"

namespace {

struct Colour {
  float r, g, b;
};
constexpr Colour kSkyTop{100, 160, 255};
constexpr Colour kSkyBottom{196, 240, 240};

// The sky graded row by row. The steps and the running sums are single
// precision on purpose: they fix every row's colour (the last row ends at
// (195, 239, 240), a little short of the bottom colour).
void PaintSky(BITMAP* sky) {
  const int width = sky->w;
  const int height = sky->h;
  const float stepR = (kSkyBottom.r - kSkyTop.r) / float(height);
  const float stepG = (kSkyBottom.g - kSkyTop.g) / float(height);
  const float stepB = (kSkyBottom.b - kSkyTop.b) / float(height);
  float r = kSkyTop.r, g = kSkyTop.g, b = kSkyTop.b;
  for (int row = 0; row < height; ++row) {
    r += stepR;
    g += stepG;
    b += stepB;
    hline(sky, 0, row, width - 1, makecol(int(r), int(g), int(b)));
  }
}

}  // namespace

void Flintmoor::Draw(BITMAP* destination) {
  if (!Started() || destination == nullptr) return;
  PaintSky(buffer);
  const int textColour = makecol(0, 0, 0);
  for (const auto& target : targets) {
    const int picture = (target->hit ? kHitPicture : kFlyingPicture) + target->frame;
    BITMAP* sprite = static_cast<BITMAP*>(data[picture].dat);
    if (target->dir == +1) {
      draw_sprite(buffer, sprite, target->x, target->y);
    } else {
      draw_sprite_h_flip(buffer, sprite, target->x, target->y);
    }
  }
  textprintf_ex(buffer, font, 0, 1, textColour, -1, "Score: %d", score);
  stretch_blit(buffer, destination, 0, 0, 320, 240, 0, 0, kGamePictureWidth, kGamePictureHeight);
}
