// One frame of the game's rules: spawn, click, move, hit, escape.
#include <cstdlib>

#include "Flintmoor.h"
#include "Resources.h"
#include "TickClock.h"

namespace {
constexpr int32_t kSpawnIntervalStep = 2;
constexpr int32_t kShortestSpawnInterval = 10;  // 50 ms, reached after 120 spawns
constexpr int kSoundChances = 3;                // one spawn in three, on average, is heard
constexpr int kSoundVolume = 255;
constexpr int kSoundPan = 0;
constexpr int kSoundFrequency = 1000;  // the sample's own speed

bool Covers(const Target& target, int32_t x, int32_t y) {
  return target.x < x && target.y < y && x < target.x + Target::kSize &&
         y < target.y + Target::kSize;
}

bool HasLeftTheSky(const Target& target) {
  return target.x > Target::kRightStart || target.x < Target::kLeftStart;
}
}  // namespace

void Flintmoor::SpawnTarget() {
  tickCount.store(0, std::memory_order_relaxed);
  if (spawnInterval > kShortestSpawnInterval) spawnInterval -= kSpawnIntervalStep;
  targets.push_back(std::make_unique<Target>());
  // Rolled after the target's own two random values.
  if (std::rand() % kSoundChances == 1) {
    play_sample(static_cast<SAMPLE*>(data[kSpawnSound].dat), kSoundVolume, kSoundPan,
                kSoundFrequency, 0);
  }
}

bool Flintmoor::TakeClick(const MouseInput& mouse) {
  if (mouse.buttons == 0) {
    buttonLatch = false;
    return false;
  }
  if (buttonLatch) return false;
  buttonLatch = true;
  return true;
}

int32_t Flintmoor::Update(int32_t, MouseInput* mouse) {
  if (!Started() || mouse == nullptr) return 0;
  int32_t escaped = 0;
  if (tickCount.load(std::memory_order_relaxed) > spawnInterval) SpawnTarget();
  const bool click = TakeClick(*mouse);
  // The sky is shown doubled; halve toward zero into sky pixels.
  const int32_t skyX = mouse->x / 2;
  const int32_t skyY = mouse->y / 2;

  // Targets that stay are packed to the front in order; the rest are released.
  size_t kept = 0;
  for (size_t i = 0; i < targets.size(); ++i) {
    Target& target = *targets[i];
    target.Move();
    if (click && !target.hit && Covers(target, skyX, skyY)) {
      target.hit = true;
      ++score;
      if (score > bestScore) bestScore = score;
    }
    if (HasLeftTheSky(target)) {
      if (!target.hit) {
        escaped = 1;
        score = 0;
      }
      targets[i].reset();
      continue;
    }
    if (kept != i) targets[kept] = std::move(targets[i]);
    ++kept;
  }
  targets.erase(targets.begin() + kept, targets.end());
  return escaped;
}
