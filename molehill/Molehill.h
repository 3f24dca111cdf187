// Molehill, a whack-a-mole on the moor: moles pop out of their molehills
// ever more often; bonk one with a click before it ducks back down.
#ifndef MOLEHILL_MOLEHILL_H
#define MOLEHILL_MOLEHILL_H

#include <allegro.h>

#include <memory>

#include "IGame.h"
#include "Meadow.h"

class Molehill final : public IGame {
 public:
  Molehill() = default;
  ~Molehill() override { Release(); }

  const char* GetName() override { return "Molehill"; }
  const char* GetAuthor() override { return "Vandrel"; }
  const char* GetDescription() override {
    return "Bonk the moles with your mouse before they duck back down.";
  }
  const char* GetVersion() override { return MOLEHILL_VERSION; }
  const char* GetIcon() override { return "icon.bmp"; }

  bool Init() override;
  void Shutdown() override;
  int32_t Update(int32_t reserved, MouseInput* mouse) override;
  void Draw(BITMAP* destination) override;
  int32_t GetScore() override { return best_; }

 private:
  bool Started() const { return meadow_ != nullptr; }
  void Release();
  void PlaySounds(const FrameEvents& events) const;
  void PaintBackdrop();
  BITMAP* Picture(int resource) const { return static_cast<BITMAP*>(data_[resource].dat); }

  std::unique_ptr<Meadow> meadow_;  // the rules, while started
  DATAFILE* data_ = nullptr;        // pictures and sounds
  BITMAP* backdrop_ = nullptr;      // moor, sky and molehills, drawn once in Init
  BITMAP* field_ = nullptr;         // the 320x240 picture, shown doubled
  int32_t best_ = 0;                // the meadow's best, kept after Shutdown
  // The mallet's latest strike, in field pixels, and frames since it: it is
  // seen for kSwingFrames, down and then raised.
  static constexpr int32_t kSwingFrames = 10, kMalletDownFrames = 5;
  int32_t strikeX_ = 0, strikeY_ = 0, sinceStrike_ = kSwingFrames;
  int scoreColour_ = 0, scoreShadow_ = 0;
};

#endif
