// Starting and stopping the game, and its frames' rules and sounds.
#include "Molehill.h"

#include <algorithm>
#include <ctime>

#include "Resources.h"

namespace {
constexpr int kPopVolume = 110, kBonkVolume = 255, kEscapeVolume = 200;
constexpr int kPitch = 1000;  // the samples' own speed
// The field is shown doubled; halve toward zero into field pixels.
constexpr int32_t kScale = kGamePictureWidth / kFieldWidth;

// A sound from a hole sounds from its side of the field.
int Pan(int hole) {
  return 32 + 191 * kHoles[hole].x / kFieldWidth;
}
}  // namespace

bool Molehill::Init() {
  // A host that skips Shutdown between two Inits loses nothing.
  Release();
  if (!IGame::Init()) return false;
  data_ = load_datafile(kDatafilePath);
  if (data_ == nullptr || !HoldsGameResources(data_, get_color_depth())) {
    Release();
    return false;
  }
  field_ = create_bitmap(kFieldWidth, kFieldHeight);
  backdrop_ = create_bitmap(kFieldWidth, kFieldHeight);
  if (field_ == nullptr || backdrop_ == nullptr) {
    Release();
    return false;
  }
  PaintBackdrop();
  scoreColour_ = makecol(250, 244, 224);
  scoreShadow_ = makecol(48, 34, 26);
  meadow_ = std::make_unique<Meadow>(uint32_t(std::time(nullptr)));
  best_ = 0;
  sinceStrike_ = kSwingFrames;
  return true;
}

void Molehill::Shutdown() {
  Release();
  IGame::Shutdown();
}

void Molehill::Release() {
  meadow_.reset();
  if (field_ != nullptr) destroy_bitmap(field_);
  if (backdrop_ != nullptr) destroy_bitmap(backdrop_);
  field_ = backdrop_ = nullptr;
  if (data_ != nullptr) {
    unload_datafile(data_);  // stopping the voices that play its samples
    data_ = nullptr;
  }
}

int32_t Molehill::Update(int32_t, MouseInput* mouse) {
  if (!Started() || mouse == nullptr) return 0;
  const int32_t x = mouse->x / kScale, y = mouse->y / kScale;
  const FrameEvents events = meadow_->Step(mouse->buttons != 0, x, y);
  if (events.clicked) {
    strikeX_ = x;
    strikeY_ = y;
    sinceStrike_ = 0;
  } else {
    sinceStrike_ = std::min(sinceStrike_ + 1, kSwingFrames);
  }
  best_ = meadow_->Best();
  PlaySounds(events);
  return events.escaped != 0 ? 1 : 0;
}

void Molehill::PlaySounds(const FrameEvents& events) const {
  struct Sound {
    uint32_t holes;  // where it sounds, a bit a hole
    int sample, volume;
  };
  const Sound sounds[] = {{events.popped, kPopSound, kPopVolume},
                          {events.bonked, kBonkSound, kBonkVolume},
                          {events.escaped, kEscapeSound, kEscapeVolume}};
  for (const Sound& sound : sounds) {
    for (int hole = 0; hole < kHoleCount; ++hole) {
      if ((sound.holes >> hole & 1u) == 0) continue;
      play_sample(static_cast<SAMPLE*>(data_[sound.sample].dat), sound.volume, Pan(hole), kPitch,
                  0);
    }
  }
}

GAME_PLUGIN_EXPORT IGame* GetPlugin() {
  return new Molehill();
}
