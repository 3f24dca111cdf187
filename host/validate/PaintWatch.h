// What Draw paints, watched: all of the 640x480 picture at the destination's
// top left, and nothing beyond it. The destination is larger than the
// picture, as a host's may be. Before some frames the picture is filled
// with one of two colours no game draws on purpose; a pixel still showing
// its fill colour after Draw in a frame of each is one Draw does not paint.
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

  Bitmap destination_;
  int untouched_;
  int fills_[2];
  std::vector<std::vector<bool>> leftAlone_;  // per fill colour, per pixel
};

#endif
