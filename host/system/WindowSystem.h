// What gamehost asks of the window system that Allegro does not give: each
// frame sent to the screen as soon as it is drawn, and where the pointer
// really is. Each system answers in its own folder.
#ifndef FLINTMOOR_HOST_WINDOWSYSTEM_H
#define FLINTMOOR_HOST_WINDOWSYSTEM_H

#include <optional>

// Hands what was drawn on Allegro's screen to the window system now.
// (Allegro's X driver leaves its requests queued until its background thread
// next looks at events, up to 10 ms later: frames would reach the screen in
// uneven steps.)
void SendFrameNow();

struct ScreenPoint {
  int x, y;
};
// The pointer in the screen's coordinates, wherever it is, even outside the
// window; empty when the system can't tell (then Allegro's mouse_x/mouse_y
// and mouse_on_screen() are all there is).
std::optional<ScreenPoint> PointerOnScreen();

// Where the window is on the desktop (its picture's top left), where the
// system tells; and the window put there again (after gamehost started
// anew, say), wherever the window manager would place a new one.
std::optional<ScreenPoint> WindowPlace();
void PlaceWindow(ScreenPoint place);

// Where the window system repeats a key held down as more presses and
// releases, it sends only the presses, which Allegro then drops
// (set_keyboard_rate(0, 0)): a key held down is one press.
void KeysDoNotRepeat();

// The function set_close_button_callback installed, where the system lets
// it be read: Allegro keeps it in its X driver's state, but hides it on
// Windows (empty there).
std::optional<const void*> CloseButtonCallback();

#endif
