// Starting and stopping a game: buffer, seed, counters, clock and resources.
#include "Flintmoor.h"

#include <cstdlib>
#include <ctime>

#include "DatafileCheck.h"
#include "Resources.h"
#include "TickClock.h"

namespace {
constexpr int kSkyWidth = 320;
constexpr int kSkyHeight = 240;
constexpr int32_t kFirstSpawnInterval = 250;  // 1.25 s
}  // namespace

bool Flintmoor::Init() {
  // A host that skips Shutdown between two Inits loses nothing.
  ReleaseResources();
  if (!IGame::Init()) return false;
  buffer = create_bitmap(kSkyWidth, kSkyHeight);
  if (buffer == nullptr) return false;
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  score = 0;
  bestScore = 0;
  spawnInterval = kFirstSpawnInterval;
  buttonLatch = false;
  StartTickClock();
  if (IsLoadableDatafile(kDatafilePath)) data = load_datafile(kDatafilePath);
  if (data != nullptr && !HoldsGameResources(data, bitmap_color_depth(buffer))) {
    unload_datafile(data);
    data = nullptr;
  }
  return data != nullptr;
}

void Flintmoor::Shutdown() {
  ReleaseResources();
  IGame::Shutdown();
}

void Flintmoor::ReleaseResources() {
  if (data != nullptr) {
    unload_datafile(data);
    data = nullptr;
  }
  if (buffer != nullptr) {
    destroy_bitmap(buffer);
    buffer = nullptr;
  }
}
