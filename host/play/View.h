// How pictures reach the screen: the 640x480 picture scaled by a whole
// number with sharp pixels, a status line under it, a crosshair where the
// pointer is, and black around it all where the screen is larger. Only the
// parts that changed since the last frame are sent to the screen, and they
// are sent at once.
#ifndef FLINTMOOR_HOST_VIEW_H
#define FLINTMOOR_HOST_VIEW_H

#include <string>
#include <vector>

#include "Bitmap.h"
#include "GamehostWindow.h"
#include "IGame.h"

struct BITMAP;

// The host's own line under the game's picture.
struct StatusLine {
  std::string left, centre, right;
  bool alarm = false;  // shown in red, e.g. for a moment after an escape

  bool operator==(const StatusLine& other) const {
    return left == other.left && centre == other.centre && right == other.right &&
           alarm == other.alarm;
  }
};

// Where to draw the crosshair, in picture coordinates.
struct Pointer {
  int x = 0, y = 0;
  bool shown = false;
  bool isMouse = false;  // drawn where the player's mouse is, in place of its pointer
};

// Where the view sits on a screen: scaled by a whole number and centred, or
// at the top left of a screen smaller than it.
struct ViewPlace {
  ViewPlace(int scale, int screenWidth, int screenHeight);
  // A position on the screen as a position in the picture, rounded down
  // (also left of and above it).
  MouseInput ToPicture(int screenX, int screenY, int buttons) const;
  int scale, left, top;
};

class View {
 public:
  static constexpr int kWidth = kGamePictureWidth, kHeight = kGamePictureHeight;
  static constexpr int kStatusHeight = kStatusLineHeight;
  // The picture is compared and sent in tiles; a frame usually changes few.
  static constexpr int kTileWidth = 32, kTileHeight = 16;
  static constexpr int kTileColumns = kWidth / kTileWidth, kTileRows = kHeight / kTileHeight;

  // Scale, and the size of the screen the view is centred in.
  View(int scale, int screenWidth, int screenHeight);
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  // The largest whole-number scale whose view fits the given space.
  static int ScaleToFit(int width, int height);

  // Shows a 640x480 picture of the screen's depth, with the status line and
  // the crosshair. The picture itself is not changed.
  void Present(BITMAP* picture, const Pointer& pointer, const StatusLine& status);
  // A position on the screen as a position in the picture.
  MouseInput ToPicture(int screenX, int screenY, int buttons) const {
    return place_.ToPicture(screenX, screenY, buttons);
  }

 private:
  char& Dirty(int row, int column) { return dirty_[size_t(row) * kTileColumns + size_t(column)]; }
  void MarkChangedTiles(BITMAP* picture);
  void MarkTilesUnder(const Pointer& pointer);
  void DrawCrosshair(const Pointer& pointer);
  void DrawStatus(const StatusLine& status);

  const ViewPlace place_;
  Bitmap scaled_;  // the view at scale, the crosshair drawn in
  Bitmap shown_;   // the picture as last shown
  Bitmap status_;  // the status line at 1x
  std::vector<char> dirty_;
  Pointer lastPointer_;
  StatusLine lastStatus_;
  bool everything_ = true;
};

#endif
