// An Allegro bitmap with one owner, destroyed with it.
#ifndef FLINTMOOR_HOST_BITMAP_H
#define FLINTMOOR_HOST_BITMAP_H

#include <allegro.h>

#include <memory>

struct BitmapDeleter {
  void operator()(BITMAP* bitmap) const {
    if (bitmap != nullptr) destroy_bitmap(bitmap);
  }
};
using Bitmap = std::unique_ptr<BITMAP, BitmapDeleter>;

#endif
