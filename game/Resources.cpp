#include "Resources.h"

#include "Target.h"

namespace {

bool IsTargetPicture(const DATAFILE& object) {
  if (object.type != DAT_BITMAP || object.dat == nullptr) return false;
  const BITMAP* picture = static_cast<const BITMAP*>(object.dat);
  // The hit box and the start and leaving edges assume this size.
  return picture->w == Target::kSize && picture->h == Target::kSize;
}

}  // namespace

bool HoldsGameResources(const DATAFILE* data) {
  for (int i = 0; i < kResourceCount; ++i) {
    if (data[i].type == DAT_END) return false;
  }
  for (int i = kFlyingPicture; i < kSpawnSound; ++i) {
    if (!IsTargetPicture(data[i])) return false;
  }
  return data[kSpawnSound].type == DAT_SAMPLE && data[kSpawnSound].dat != nullptr;
}
