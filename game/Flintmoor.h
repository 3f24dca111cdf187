// Flintmoor, a mouse shooting gallery: the module's one game.
#ifndef FLINTMOOR_GAME_FLINTMOOR_H
#define FLINTMOOR_GAME_FLINTMOOR_H

#include <allegro.h>

#include <memory>
#include <vector>

#include "IGame.h"
#include "Target.h"
#include "Version.h"

class Flintmoor final : public IGame {
 public:
  Flintmoor() = default;
  ~Flintmoor() override = default;

  const char* GetName() override { return "Flintmoor"; }
  const char* GetAuthor() override { return "Vandrel"; }
  const char* GetDescription() override {
    return "Shoot them down with your mouse as fast as you can.";
  }
  const char* GetVersion() override { return FLINTMOOR_VERSION; }
  const char* GetIcon() override { return "icon.bmp"; }

  bool Init() override;
  void Shutdown() override;
  void Draw(BITMAP* destination) override;
  int32_t Update(int32_t reserved, MouseInput* mouse) override;
  int32_t GetScore() override { return bestScore; }

 private:
  friend class FlintmoorProbe;  // tests reach the state the host can't see

  // Update and Draw work only here; outside it they do nothing, so a host
  // that breaks the calling order can't make them touch what isn't there.
  bool Started() const { return buffer != nullptr && data != nullptr; }
  void ReleaseResources();
  void SpawnTarget();
  bool TakeClick(const MouseInput& mouse);

  int32_t score = 0;                             // hits since the last escape; shown on screen
  int32_t bestScore = 0;                         // highest score since Init
  int32_t spawnInterval = 0;                     // ticks that must pass between spawns
  bool buttonLatch = false;                      // a held button whose press was already seen
  BITMAP* buffer = nullptr;                      // the 320x240 sky
  DATAFILE* data = nullptr;                      // pictures and sound
  std::vector<std::unique_ptr<Target>> targets;  // oldest first
};

#endif
