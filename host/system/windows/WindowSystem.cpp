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

std::optional<const void*> CloseButtonCallback() {
  return std::nullopt;
}
