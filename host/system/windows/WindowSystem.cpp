#include "WindowSystem.h"

#include <allegro.h>
#include <winalleg.h>

// Allegro's Windows drivers draw straight to the window: nothing is queued.
void SendFrameNow() {}

std::optional<ScreenPoint> PointerOnScreen() {
  HWND window = win_get_window();
  POINT point;
  if (window == nullptr || GetCursorPos(&point) == 0 || ScreenToClient(window, &point) == 0) {
    return std::nullopt;
  }
  return ScreenPoint{int(point.x), int(point.y)};
}

// Allegro reads keys through DirectInput, which reports each press once;
// the repeats are Allegro's own, which set_keyboard_rate(0, 0) stops.
void KeysDoNotRepeat() {}

std::optional<const void*> CloseButtonCallback() {
  return std::nullopt;
}
