#include "PaintWatch.h"

#include <allegro.h>

#include <cstring>
#include <string>
#include <utility>

#include "Checks.h"
#include "DrivenGame.h"
#include "IGame.h"

namespace {

constexpr int kWidth = kGamePictureWidth, kHeight = kGamePictureHeight, kMargin = 48;
constexpr int kPaintEvery = 100;  // frames between looks at what Draw painted
constexpr int kNewDestinationEvery = 250;

std::string At(int x, int y) {
  return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

}  // namespace

PaintWatch::PaintWatch()
    : untouched_(makecol(3, 254, 7)),
      fills_{makecol(254, 3, 250), makecol(5, 9, 251)},
      leftAlone_(2, std::vector<bool>(size_t(kWidth) * kHeight)) {
  destination_ = NewDestination();
}

Bitmap PaintWatch::NewDestination() const {
  Bitmap destination(create_bitmap(kWidth + kMargin, kHeight + kMargin));
  if (!destination) throw CheckFailure("can't create a destination bitmap: out of memory");
  clear_to_color(destination.get(), untouched_);
  return destination;
}

bool PaintWatch::RetiredUnchanged() const {
  for (int y = 0; y < retired_->h; ++y) {
    if (std::memcmp(retired_->line[y], row_.data(), row_.size()) != 0) return false;
  }
  return true;
}

int PaintWatch::Sample(int frame) {
  return frame / kPaintEvery;
}

void PaintWatch::BeforeDraw(int frame) {
  if (frame > 0 && frame % kNewDestinationEvery == 0) {
    retired_ = std::move(destination_);
    retiredFrom_ = lentFrom_;
    retiredTo_ = frame - 1;
    clear_to_color(retired_.get(), fills_[0]);
    const size_t rowBytes =
        size_t(retired_->w) * size_t((bitmap_color_depth(retired_.get()) + 7) / 8);
    row_.assign(retired_->line[0], retired_->line[0] + rowBytes);
    destination_ = NewDestination();
    lentFrom_ = frame;
  }
  if (frame % kPaintEvery == 0) {
    rectfill(Destination(), 0, 0, kWidth - 1, kHeight - 1, fills_[Sample(frame) % 2]);
  }
}

void PaintWatch::AfterDraw(int frame, const MouseInput& mouse) {
  if (retired_ && !RetiredUnchanged()) {
    throw CheckFailure("Update or Draw at frame " + std::to_string(frame) + " (mouse " +
                       DescribeMouse(mouse) + ") painted the destination lent to Draw in frames " +
                       std::to_string(retiredFrom_) + "-" + std::to_string(retiredTo_) +
                       ", after those Draws had returned: a destination is the game's only while "
                       "Draw runs, and each Draw may be given another");
  }
  if (frame % kPaintEvery != 0) return;
  BITMAP* destination = Destination();
  const int which = Sample(frame) % 2;
  const int fill = fills_[which];
  int unpainted = 0, firstX = -1, firstY = -1;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      bool left = getpixel(destination, x, y) == fill;
      leftAlone_[size_t(which)][size_t(y) * kWidth + size_t(x)] = left;
      if (left && Sample(frame) > 0 &&
          leftAlone_[size_t(1 - which)][size_t(y) * kWidth + size_t(x)]) {
        if (unpainted++ == 0) {
          firstX = x;
          firstY = y;
        }
      }
    }
  }
  if (unpainted > 0) {
    throw CheckFailure(
        "Draw left " + std::to_string(unpainted) + " of " + std::to_string(kWidth * kHeight) +
        " pixels of the picture unpainted in frames " + std::to_string(frame - kPaintEvery) +
        " and " + std::to_string(frame) + " (after mouse " + DescribeMouse(mouse) + "), first at " +
        At(firstX, firstY) +
        ": Draw must paint the whole 640x480 picture into the destination it is given");
  }
  for (int y = 0; y < destination->h; ++y) {
    for (int x = y < kHeight ? kWidth : 0; x < destination->w; ++x) {
      if (getpixel(destination, x, y) != untouched_) {
        throw CheckFailure("Draw wrote at " + At(x, y) +
                           ", outside the 640x480 picture, by frame " + std::to_string(frame) +
                           ", mouse " + DescribeMouse(mouse));
      }
    }
  }
}
