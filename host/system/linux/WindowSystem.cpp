#include "WindowSystem.h"

#include <allegro.h>

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
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

std::optional<ScreenPoint> WindowPlace() {
  if (_xwin.display == nullptr || _xwin.wm_window == None) return std::nullopt;
  int x = 0, y = 0;
  Window child = None;
  XLOCK();
  const bool known =
      XTranslateCoordinates(_xwin.display, _xwin.wm_window, DefaultRootWindow(_xwin.display), 0, 0,
                            &x, &y, &child) != 0;
  XUNLOCK();
  if (!known) return std::nullopt;
  return ScreenPoint{x, y};
}

void PlaceWindow(ScreenPoint place) {
  if (_xwin.display == nullptr || _xwin.wm_window == None) return;
  XLOCK();
  // Static gravity: the place asked for is the window's own, not its frame's.
  XSizeHints hints{};
  long given = 0;
  XGetWMNormalHints(_xwin.display, _xwin.wm_window, &hints, &given);
  hints.flags |= PWinGravity | USPosition;
  hints.win_gravity = StaticGravity;
  hints.x = place.x;
  hints.y = place.y;
  XSetWMNormalHints(_xwin.display, _xwin.wm_window, &hints);
  XMoveWindow(_xwin.display, _xwin.wm_window, place.x, place.y);
  XFlush(_xwin.display);
  XUNLOCK();
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
