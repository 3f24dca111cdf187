#include "WindowSystem.h"

#include <allegro.h>

#include <X11/XKBlib.h>
#include <xalleg.h>

void SendFrameNow() {
  if (_xwin.display == nullptr) return;
  XLOCK();
  // A round trip: the server has taken the frame (and read the shared
  // picture) before the next one is drawn into it.
  XSync(_xwin.display, False);
  XUNLOCK();
}

std::optional<ScreenPoint> PointerOnScreen() {
  if (_xwin.display == nullptr || _xwin.window == None) return std::nullopt;
  Window root = None, child = None;
  int rootX = 0, rootY = 0, x = 0, y = 0;
  unsigned buttons = 0;
  XLOCK();
  const bool sameScreen = XQueryPointer(_xwin.display, _xwin.window, &root, &child, &rootX, &rootY,
                                        &x, &y, &buttons) != 0;
  XUNLOCK();
  if (!sameScreen) return std::nullopt;
  return ScreenPoint{x, y};
}

void KeysDoNotRepeat() {
  if (_xwin.display == nullptr) return;
  XLOCK();
  XkbSetDetectableAutoRepeat(_xwin.display, True, nullptr);
  XUNLOCK();
}

std::optional<const void*> CloseButtonCallback() {
  return reinterpret_cast<const void*>(_xwin.close_button_callback);
}
