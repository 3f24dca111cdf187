// The X display the tests run on, as a person meets it: windows found by
// their title, the screen read back, the pointer and keys moved through
// xdotool.
#ifndef FLINTMOOR_TESTS_XDISPLAY_H
#define FLINTMOOR_TESTS_XDISPLAY_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct XWindowPlace {
  unsigned long id;
  int x, y, width, height;  // on the screen
};

// The top-level window with this title, waiting up to `seconds` for it.
std::optional<XWindowPlace> FindWindow(const std::string& title, double seconds = 20);

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
};

// What the window manager is told of a window: its class, the size of its
// icon pixmap (0x0 without one) and of the icon panels read (_NET_WM_ICON),
// with that one's first opaque pixel as 0xRRGGBB.
struct WindowLook {
  std::string className;
  int iconWidth = 0, iconHeight = 0;
  int netIconWidth = 0, netIconHeight = 0;
  long netIconValues = 0;  // all the property holds: 2 + width * height
  uint32_t netIconFirstOpaque = 0;
};
WindowLook LookOf(const XWindowPlace& window);

// The whole screen's pixels at the moment of the call.
class ScreenPixels {
 public:
  ScreenPixels();
  Rgb At(int x, int y) const;
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  int width_ = 0, height_ = 0;
  std::vector<uint32_t> pixels_;
};

// Another window takes the keyboard focus while this lives, as when a
// person switches to another program.
class OtherWindowFocused {
 public:
  OtherWindowFocused();
  ~OtherWindowFocused();
  OtherWindowFocused(const OtherWindowFocused&) = delete;
  OtherWindowFocused& operator=(const OtherWindowFocused&) = delete;

 private:
  void* display_;
  unsigned long window_;
};

// A window manager (openbox) on the display while this lives: windows get
// frames, and the focus moves as a person's desktop moves it.
class WindowManager {
 public:
  WindowManager();
  ~WindowManager();
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;

 private:
  void Stop();
  int pid_ = -1;
};

// Input through the X server's test extension, as a person's would arrive.
void MoveMouse(const XWindowPlace& window, int x, int y);
void ClickMouse();
void PressKey(const std::string& key);  // an X key name: "p", "Escape"
// Holds a key down for a while, as a person leaning on it does: the X
// server repeats it meanwhile.
void HoldKey(const XWindowPlace& window, const std::string& key, int milliseconds);
// Whether the pointer the X server draws now has any pixel one can see (a
// window may set a cursor that shows nothing).
bool SystemPointerShown();
// The window takes the keyboard focus first, wherever the pointer is.
void PressKey(const XWindowPlace& window, const std::string& key);
void Focus(const XWindowPlace& window);

#endif
