// Molehill's pictures: the backdrop, painted once in Init, and each frame's
// moles, mallet and score over it, shown doubled.
#include <cmath>
#include <cstdlib>

#include "Molehill.h"
#include "Resources.h"

namespace {

constexpr int kHorizon = 58;  // the first row of the moor under the sky
constexpr int kTufts = 16;    // heather tufts strewn about the moor, away from the holes
constexpr int kTuftTries = 50 * kTufts;
constexpr int kSpeckles = 2400;

struct Rgb {
  int r, g, b;
};
constexpr Rgb kSkyTop{122, 176, 232}, kHaze{232, 226, 204};
constexpr Rgb kFarMoor{142, 126, 164}, kMoorTop{118, 122, 70}, kMoorNear{84, 118, 52};
constexpr Rgb kSpeckleColours[] = {{64, 96, 42}, {136, 148, 82}, {150, 92, 148}, {104, 84, 60}};

int Colour(Rgb c) {
  return makecol(c.r, c.g, c.b);
}

// The colour `part` of `whole` of the way from a to b.
int Between(Rgb a, Rgb b, int part, int whole) {
  return makecol(a.r + (b.r - a.r) * part / whole, a.g + (b.g - a.g) * part / whole,
                 a.b + (b.b - a.b) * part / whole);
}

// The same scattering at every Init, whatever the game's own dice do.
class Scatter {
 public:
  int Next(int below) {
    state_ = state_ * 1103515245u + 12345u;
    return int((state_ >> 16) % unsigned(below));
  }

 private:
  unsigned state_ = 20260u;
};

bool NearAHole(int x, int y) {
  for (const Hole& hole : kHoles) {
    if (std::abs(x - hole.x) < 36 && y > hole.lip - 40 && y < hole.lip + 16) return true;
  }
  return false;
}

}  // namespace

void Molehill::PaintBackdrop() {
  BITMAP* picture = backdrop_;
  for (int y = 0; y < kHorizon; ++y) {
    hline(picture, 0, y, kFieldWidth - 1, Between(kSkyTop, kHaze, y, kHorizon));
  }
  for (int y = kHorizon; y < kFieldHeight; ++y) {
    hline(picture, 0, y, kFieldWidth - 1,
          Between(kMoorTop, kMoorNear, y - kHorizon, kFieldHeight - kHorizon));
  }
  // Two ridges against the sky: the far moor, then the near edge of this one.
  const int farMoor = Colour(kFarMoor), moorTop = Colour(kMoorTop);
  for (int x = 0; x < kFieldWidth; ++x) {
    const int far = 36 + int(5 * std::sin(x / 41.0) + 3 * std::sin(x / 13.0 + 1.3));
    vline(picture, x, far, kHorizon - 1, farMoor);
    const int near = 50 + int(4 * std::sin(x / 29.0 + 2.1) + 2 * std::sin(x / 9.0));
    vline(picture, x, near, kHorizon - 1, moorTop);
  }
  Scatter scatter;
  for (int i = 0; i < kSpeckles; ++i) {
    const int x = scatter.Next(kFieldWidth), y = kHorizon + scatter.Next(kFieldHeight - kHorizon);
    putpixel(picture, x, y, Colour(kSpeckleColours[scatter.Next(4)]));
  }
  BITMAP* tuft = Picture(kHeather);
  for (int placed = 0, tries = 0; placed < kTufts && tries < kTuftTries; ++tries) {
    const int x = scatter.Next(kFieldWidth - tuft->w);
    const int y = kHorizon + scatter.Next(kFieldHeight - kHorizon - tuft->h);
    if (NearAHole(x + tuft->w / 2, y + tuft->h)) continue;
    draw_sprite(picture, tuft, x, y);
    ++placed;
  }
  BITMAP* molehill = Picture(kMolehill);
  for (const Hole& hole : kHoles) {
    draw_sprite(picture, molehill, hole.x - molehill->w / 2, hole.lip - kMolehillLipRow);
  }
}

void Molehill::Draw(BITMAP* destination) {
  if (!Started() || destination == nullptr) return;
  blit(backdrop_, field_, 0, 0, 0, 0, kFieldWidth, kFieldHeight);
  for (int i = 0; i < kHoleCount; ++i) {
    const int32_t rise = meadow_->Rise(i);
    if (rise == 0) continue;
    const Mole& mole = meadow_->MoleAt(i);
    int picture = kMoleUp;
    if (mole.bonked) {
      picture = kMoleBonked;
    } else if (mole.state == MoleState::kSinking ||
               (mole.state == MoleState::kUp && mole.frames % 40 >= 34)) {
      picture = kMoleBlinking;
    }
    // Out of its hole as far as it has risen; below the lip, nothing.
    const Hole& hole = kHoles[i];
    const int left = hole.x - kMoleWidth / 2;
    set_clip_rect(field_, left, hole.lip - kMoleHeight, left + kMoleWidth - 1, hole.lip - 1);
    draw_sprite(field_, Picture(picture), left, hole.lip - rise);
  }
  set_clip_rect(field_, 0, 0, kFieldWidth - 1, kFieldHeight - 1);
  if (sinceStrike_ < kSwingFrames) {
    BITMAP* mallet = Picture(sinceStrike_ < kMalletDownFrames ? kMalletDown : kMalletRaised);
    draw_sprite(field_, mallet, strikeX_ - kMalletStrikeX, strikeY_ - kMalletStrikeY);
  }
  textprintf_ex(field_, font, 5, 5, scoreShadow_, -1, "Score: %d", meadow_->Score());
  textprintf_ex(field_, font, 4, 4, scoreColour_, -1, "Score: %d", meadow_->Score());
  stretch_blit(field_, destination, 0, 0, kFieldWidth, kFieldHeight, 0, 0, kGamePictureWidth,
               kGamePictureHeight);
}
