#include "View.h"

#include <allegro.h>

#include <algorithm>
#include <cstring>

#include "WindowSystem.h"

namespace {

constexpr int kColumns = View::kTileColumns, kRows = View::kTileRows;
constexpr int kTileWidth = View::kTileWidth, kTileHeight = View::kTileHeight;
// The crosshair, in picture pixels: arms from kGap to kArm from the centre.
constexpr int kGap = 3, kArm = 11;

Bitmap NewBitmap(int width, int height) {
  Bitmap bitmap(create_bitmap(width, height));
  if (bitmap != nullptr) clear_bitmap(bitmap.get());
  return bitmap;
}

// Copies a rectangle, scaled by a whole number without smoothing.
void CopyScaled(BITMAP* from, BITMAP* to, int x, int y, int w, int h, int scale) {
  if (scale == 1) {
    blit(from, to, x, y, x, y, w, h);
  } else {
    stretch_blit(from, to, x, y, w, h, x * scale, y * scale, w * scale, h * scale);
  }
}

}  // namespace

ViewPlace::ViewPlace(int viewScale, int screenWidth, int screenHeight)
    : scale(viewScale),
      left(std::max(0, (screenWidth - GamehostWindowWidth(viewScale)) / 2)),
      top(std::max(0, (screenHeight - GamehostWindowHeight(viewScale)) / 2)) {}

MouseInput ViewPlace::ToPicture(int screenX, int screenY, int buttons) const {
  auto down = [&](int offset) {
    return offset >= 0 ? offset / scale : -((-offset + scale - 1) / scale);
  };
  return MouseInput{down(screenX - left), down(screenY - top), buttons};
}

View::View(int scale, int screenWidth, int screenHeight)
    : place_(scale, screenWidth, screenHeight),
      scaled_(NewBitmap(GamehostWindowWidth(scale), GamehostWindowHeight(scale))),
      shown_(NewBitmap(kWidth, kHeight)),
      status_(NewBitmap(kWidth, kStatusHeight)),
      dirty_(size_t{kColumns} * kRows) {}

int View::ScaleToFit(int width, int height) {
  return std::max(1, std::min(width / GamehostWindowWidth(1), height / GamehostWindowHeight(1)));
}

void View::MarkChangedTiles(BITMAP* picture) {
  const int rowBytes = kTileWidth * ((bitmap_color_depth(picture) + 7) / 8);
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      char& dirty = Dirty(row, column);
      if (dirty) continue;
      const int offset = column * rowBytes;
      for (int y = row * kTileHeight; y < (row + 1) * kTileHeight && !dirty; ++y) {
        dirty =
            std::memcmp(picture->line[y] + offset, shown_->line[y] + offset, size_t(rowBytes)) != 0;
      }
    }
  }
}

void View::MarkTilesUnder(const Pointer& pointer) {
  if (!pointer.shown) return;
  const int reach = kArm + 2;  // the outline too
  const int firstColumn = std::clamp((pointer.x - reach) / kTileWidth, 0, kColumns - 1);
  const int lastColumn = std::clamp((pointer.x + reach) / kTileWidth, 0, kColumns - 1);
  const int firstRow = std::clamp((pointer.y - reach) / kTileHeight, 0, kRows - 1);
  const int lastRow = std::clamp((pointer.y + reach) / kTileHeight, 0, kRows - 1);
  for (int row = firstRow; row <= lastRow; ++row) {
    for (int column = firstColumn; column <= lastColumn; ++column) {
      Dirty(row, column) = 1;
    }
  }
}

void View::DrawCrosshair(const Pointer& pointer) {
  if (!pointer.shown) return;
  const int s = place_.scale;
  // The pointer's own picture pixel, at scale: the arms are as wide as it.
  const int left = pointer.x * s, top = pointer.y * s, right = left + s - 1, bottom = top + s - 1;
  const int white = makecol(255, 255, 255), black = makecol(0, 0, 0);
  set_clip_rect(scaled_.get(), 0, 0, kWidth * s - 1, kHeight * s - 1);
  for (int pass = 0; pass < 2; ++pass) {
    const int grow = pass == 0 ? 1 : 0;  // a black outline first, white inside
    const int colour = pass == 0 ? black : white;
    auto arm = [&](int x1, int y1, int x2, int y2) {
      rectfill(scaled_.get(), x1 - grow, y1 - grow, x2 + grow, y2 + grow, colour);
    };
    arm(left, top - kArm * s, right, top - kGap * s);        // up
    arm(left, bottom + kGap * s, right, bottom + kArm * s);  // down
    arm(left - kArm * s, top, left - kGap * s, bottom);      // left
    arm(right + kGap * s, top, right + kArm * s, bottom);    // right
  }
  set_clip_rect(scaled_.get(), 0, 0, scaled_->w - 1, scaled_->h - 1);
}

void View::DrawStatus(const StatusLine& status) {
  clear_to_color(status_.get(), status.alarm ? makecol(190, 30, 30) : makecol(24, 28, 32));
  const int text = makecol(235, 235, 225), y = (kStatusHeight - text_height(font)) / 2;
  textout_ex(status_.get(), font, status.left.c_str(), 8, y, text, -1);
  textout_centre_ex(status_.get(), font, status.centre.c_str(), kWidth / 2, y, text, -1);
  textout_right_ex(status_.get(), font, status.right.c_str(), kWidth - 8, y, text, -1);
  stretch_blit(status_.get(), scaled_.get(), 0, 0, kWidth, kStatusHeight, 0, kHeight * place_.scale,
               kWidth * place_.scale, kStatusHeight * place_.scale);
}

void View::Present(BITMAP* picture, const Pointer& pointer, const StatusLine& status) {
  const int s = place_.scale;
  if (everything_) {
    clear_bitmap(screen);  // black around the view
    std::fill(dirty_.begin(), dirty_.end(), 1);
  } else {
    MarkChangedTiles(picture);
  }
  MarkTilesUnder(lastPointer_);
  MarkTilesUnder(pointer);

  // Runs of dirty tiles in a row are scaled and sent as one rectangle.
  struct Run {
    int x, y, w;
  };
  Run runs[kRows * kColumns];
  int count = 0;
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns;) {
      if (!Dirty(row, column)) {
        ++column;
        continue;
      }
      int end = column;
      while (end < kColumns && Dirty(row, end)) ++end;
      runs[count++] = {column * kTileWidth, row * kTileHeight, (end - column) * kTileWidth};
      column = end;
    }
  }
  for (int i = 0; i < count; ++i) {
    CopyScaled(picture, scaled_.get(), runs[i].x, runs[i].y, runs[i].w, kTileHeight, s);
    blit(picture, shown_.get(), runs[i].x, runs[i].y, runs[i].x, runs[i].y, runs[i].w, kTileHeight);
  }
  DrawCrosshair(pointer);
  acquire_screen();
  for (int i = 0; i < count; ++i) {
    blit(scaled_.get(), screen, runs[i].x * s, runs[i].y * s, place_.left + runs[i].x * s,
         place_.top + runs[i].y * s, runs[i].w * s, kTileHeight * s);
  }
  if (everything_ || !(status == lastStatus_)) {
    DrawStatus(status);
    blit(scaled_.get(), screen, 0, kHeight * s, place_.left, place_.top + kHeight * s, kWidth * s,
         kStatusHeight * s);
  }
  release_screen();
  SendFrameNow();
  std::fill(dirty_.begin(), dirty_.end(), 0);
  lastPointer_ = pointer;
  lastStatus_ = status;
  everything_ = false;
}
