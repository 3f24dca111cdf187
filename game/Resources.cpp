#include "Resources.h"

#include "Target.h"

namespace {

bool IsTargetPicture(const DATAFILE& object, int drawingDepth) {
  if (object.type != DAT_BITMAP || object.dat == nullptr) return false;
  BITMAP* picture = static_cast<BITMAP*>(object.dat);
  // The hit box and the start and leaving edges assume this size. The
  // sprite routines read a picture in the depth they draw into; one left
  // in another (the loader keeps a depth it can't convert) is read past.
  return picture->w == Target::kSize && picture->h == Target::kSize &&
         bitmap_color_depth(picture) == drawingDepth;
}

}  // namespace

bool HoldsGameResources(const DATAFILE* data, int drawingDepth) {
  for (int i = 0; i < kResourceCount; ++i) {
    if (data[i].type == DAT_END) return false;
  }
  for (int i = kFlyingPicture; i < kSpawnSound; ++i) {
    if (!IsTargetPicture(data[i], drawingDepth)) return false;
  }
  return data[kSpawnSound].type == DAT_SAMPLE && data[kSpawnSound].dat != nullptr;
}
