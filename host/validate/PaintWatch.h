// What Draw paints, watched: all of the 640x480 picture at the destination's
// top left, and nothing beyond it. The destination is larger than the
// picture, as a host's may be. Before some frames the picture is filled
// with one of two colours no game draws on purpose; a pixel still showing
// its fill colour after Draw in a frame of each is one Draw does not paint.
// From time to time the destination is a new bitmap, and the one before is
// watched: a game that keeps a destination and paints it after its Draw
// has returned is seen.
#ifndef FLINTMOOR_HOST_PAINTWATCH_H
#define FLINTMOOR_HOST_PAINTWATCH_H

#include <vector>

#include "Bitmap.h"
#include "IGame.h"

class PaintWatch {
 public:
  PaintWatch();
  BITMAP* Destination() const { return destination_.get(); }
  void BeforeDraw(int frame);
  // Throws CheckFailure, naming the frame's mouse.
  void AfterDraw(int frame, const MouseInput& mouse);

 private:
  static int Sample(int frame);
  Bitmap NewDestination() const;
  bool RetiredUnchanged() const;

  Bitmap destination_;
  Bitmap retired_;                  // the destination before, filled with one colour
  std::vector<unsigned char> row_;  // a row of it, as filled
  int lentFrom_ = 0, retiredFrom_ = 0, retiredTo_ = 0;  // frames each was lent to
  int untouched_;
  int fills_[2];
  std::vector<std::vector<bool>> leftAlone_;  // per fill colour, per pixel
};

#endif
