// gamehost's window: Allegro set up for a game, in the order games rely on
// (the library, keyboard, mouse, timer, colour depth, the window or full
// screen, then sound), the view that shows pictures in it at their pace,
// and the player's keys and the window's events.
#ifndef FLINTMOOR_HOST_SCREEN_H
#define FLINTMOOR_HOST_SCREEN_H

#include <memory>
#include <string>

#include "Bitmap.h"
#include "FramePacer.h"
#include "Stage.h"
#include "View.h"

class Screen final : public Stage {
 public:
  // Opens a window at the given scale of the view (0: the largest that fits
  // the desktop), or the full screen with the view centred, showing `fps`
  // frames a second. Throws HostError: kExitNoGraphics when there is no
  // usable display, kExitUsage when the scale asked for doesn't fit.
  // Verbose names the sound driver.
  Screen(const std::string& title, const std::string& iconFile, bool fullscreen, int scale, int fps,
         bool verbose);
  // Leaves the graphics mode and Allegro.
  ~Screen() override;
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  View& GetView() { return *view_; }

  void Show(BITMAP* picture, const StatusLine& status, const Pointer& aim) override;
  void Show(const Card& card, const StatusLine& status) override;
  Clock::time_point Now() const override { return Clock::now(); }
  Key NextKey() override;
  void ForgetKeys() override;
  int TakeWheel() override;
  bool CloseClicked() const override;
  bool TakeFocusLost() override;
  void Name(const std::string& title) override;
  void TakeBack() override;

 private:
  // The window's events and the keys as the window wants them.
  void HandleWindowEvents();
  // The system's pointer shown (an arrow) or hidden (the crosshair draws
  // where it is), changed only when it must be.
  void ShowSystemPointer(bool shown);

  std::unique_ptr<View> view_;
  FramePacer pacer_;
  Bitmap card_;                     // where the host's screens are drawn
  int systemPointer_ = -1;          // unknown, hidden (0) or shown (1)
  int wheel_ = 0;                   // Allegro's mouse_z as last taken
  int depth_ = 0, conversion_ = 0;  // as the window was opened
  FONT* font_ = nullptr;
};

#endif
