#include "MousePlayer.h"

#include <allegro.h>

#include <atomic>

namespace {

// Set by Allegro's mouse thread at every button press, taken by the frame.
std::atomic<bool> pressedSinceLastFrame{false};

void OnMouseEvent(int flags) {
  if (flags & (MOUSE_FLAG_LEFT_DOWN | MOUSE_FLAG_RIGHT_DOWN | MOUSE_FLAG_MIDDLE_DOWN)) {
    pressedSinceLastFrame = true;
  }
}

constexpr int kWidth = View::kWidth, kHeight = View::kHeight;

}  // namespace

MousePlayer::MousePlayer(const View& view) : view_(view) {
  pressedSinceLastFrame = false;
  mouse_callback = OnMouseEvent;
}

void MousePlayer::TakeBack() {
  mouse_callback = OnMouseEvent;
}

MousePlayer::~MousePlayer() {
  mouse_callback = nullptr;
}

MouseInput MousePlayer::Next(BITMAP*) {
  if (mouse_needs_poll()) poll_mouse();
  const bool pressed = pressedSinceLastFrame.exchange(false);
  const ScreenPoint at = Where();
  return view_.ToPicture(at.x, at.y, mouse_b != 0 || pressed ? 1 : 0);
}

Pointer MousePlayer::Aim() const {
  const std::optional<ScreenPoint> known = PointerOnScreen();
  // Without the system's word, Allegro's last position, and whether it saw
  // the pointer leave the window.
  if (!known && !mouse_on_screen()) return Pointer{};
  const ScreenPoint at = known ? *known : ScreenPoint{mouse_x, mouse_y};
  const MouseInput picture = view_.ToPicture(at.x, at.y, 0);
  const bool inside = picture.x >= 0 && picture.x < kWidth && picture.y >= 0 && picture.y < kHeight;
  return Pointer{picture.x, picture.y, inside, true};
}

ScreenPoint MousePlayer::Where() {
  // Asked now rather than taken from Allegro's, which its background thread
  // updates only every 10 ms and which stops at the window's edge.
  return PointerOnScreen().value_or(ScreenPoint{mouse_x, mouse_y});
}
