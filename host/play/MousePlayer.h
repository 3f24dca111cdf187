#ifndef FLINTMOOR_HOST_MOUSEPLAYER_H
#define FLINTMOOR_HOST_MOUSEPLAYER_H

#include "Player.h"
#include "WindowSystem.h"

// The real mouse, mapped through the view. A press and release that both
// fall between two frames still reach the game as one frame with the button
// down.
class MousePlayer final : public Player {
 public:
  explicit MousePlayer(const View& view);
  ~MousePlayer() override;
  MouseInput Next(BITMAP* lastFrame) override;
  // Only while the pointer is over the picture.
  Pointer Aim() const override;
  void TakeBack() override;

 private:
  static ScreenPoint Where();
  const View& view_;
};

#endif
