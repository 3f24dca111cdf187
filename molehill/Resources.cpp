#include "Resources.h"

#include "Field.h"

namespace {

// Pictures are small things on the field: the backdrop strews them about it.
constexpr int kLargestPicture = 64;

bool IsPicture(const DATAFILE& object, int drawingDepth) {
  if (object.type != DAT_BITMAP || object.dat == nullptr) return false;
  BITMAP* picture = static_cast<BITMAP*>(object.dat);
  // The sprite routines read a picture in the depth they draw into; one
  // left in another (the loader keeps a depth it can't convert) is read past.
  return bitmap_color_depth(picture) == drawingDepth && picture->w <= kLargestPicture &&
         picture->h <= kLargestPicture;
}

bool IsMole(const DATAFILE& object, int drawingDepth) {
  if (!IsPicture(object, drawingDepth)) return false;
  const BITMAP* picture = static_cast<BITMAP*>(object.dat);
  return picture->w == kMoleWidth && picture->h == kMoleHeight;
}

}  // namespace

bool HoldsGameResources(const DATAFILE* data, int drawingDepth) {
  for (int i = 0; i < kResourceCount; ++i) {
    if (data[i].type == DAT_END) return false;
  }
  for (int i = kMoleUp; i <= kMoleBonked; ++i) {
    if (!IsMole(data[i], drawingDepth)) return false;
  }
  for (int i = kMolehill; i < kPopSound; ++i) {
    if (!IsPicture(data[i], drawingDepth)) return false;
  }
  const BITMAP* molehill = static_cast<BITMAP*>(data[kMolehill].dat);
  if (molehill->h <= kMolehillLipRow) return false;
  for (int i = kPopSound; i < kResourceCount; ++i) {
    if (data[i].type != DAT_SAMPLE || data[i].dat == nullptr) return false;
  }
  return true;
}
