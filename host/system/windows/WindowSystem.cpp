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

std::optional<ScreenPoint> WindowPlace() {
  HWND window = win_get_window();
  POINT corner{0, 0};
  if (window == nullptr || ClientToScreen(window, &corner) == 0) return std::nullopt;
  return ScreenPoint{int(corner.x), int(corner.y)};
}

void PlaceWindow(ScreenPoint place) {
  HWND window = win_get_window();
  RECT frame;
  POINT corner{0, 0};
  if (window == nullptr || GetWindowRect(window, &frame) == 0 ||
      ClientToScreen(window, &corner) == 0) {
    return;
  }
  // The frame goes where it puts the picture's corner at the place.
  SetWindowPos(window, nullptr, place.x - (corner.x - frame.left), place.y - (corner.y - frame.top),
               0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Allegro reads keys through DirectInput, which reports each press once;
// the repeats are Allegro's own, which set_keyboard_rate(0, 0) stops.
void KeysDoNotRepeat() {}

std::optional<const void*> CloseButtonCallback() {
  return std::nullopt;
}
