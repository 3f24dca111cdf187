#include "XDisplay.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <stdexcept>

#include "Command.h"

namespace {

using DisplayPtr = std::unique_ptr<Display, int (*)(Display*)>;

DisplayPtr Open() {
  DisplayPtr display(XOpenDisplay(nullptr), XCloseDisplay);
  if (display == nullptr) throw std::runtime_error("no X display");
  return display;
}

std::optional<XWindowPlace> Search(Display* display, const std::string& title) {
  Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
  unsigned count = 0;
  if (XQueryTree(display, root, &root, &parent, &children, &count) == 0) return std::nullopt;
  std::optional<XWindowPlace> found;
  for (unsigned i = 0; i < count && !found; ++i) {
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) != 0 && name != nullptr) {
      XWindowAttributes attributes;
      if (title == name && XGetWindowAttributes(display, children[i], &attributes) != 0 &&
          attributes.map_state == IsViewable) {
        found = XWindowPlace{children[i], attributes.x, attributes.y, attributes.width,
                             attributes.height};
      }
      XFree(name);
    }
  }
  if (children != nullptr) XFree(children);
  return found;
}

}  // namespace

std::optional<XWindowPlace> FindWindow(const std::string& title, double seconds) {
  DisplayPtr display = Open();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    if (auto found = Search(display.get(), title)) return found;
    usleep(50 * 1000);
  }
  return std::nullopt;
}

WindowLook LookOf(const XWindowPlace& window) {
  DisplayPtr display = Open();
  WindowLook look;
  XClassHint hint{};
  if (XGetClassHint(display.get(), window.id, &hint) != 0) {
    look.className = hint.res_class != nullptr ? hint.res_class : "";
    XFree(hint.res_name);
    XFree(hint.res_class);
  }
  if (XWMHints* hints = XGetWMHints(display.get(), window.id)) {
    Window root = 0;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    if ((hints->flags & IconPixmapHint) != 0 &&
        XGetGeometry(display.get(), hints->icon_pixmap, &root, &x, &y, &width, &height, &border,
                     &depth) != 0) {
      look.iconWidth = int(width);
      look.iconHeight = int(height);
    }
    XFree(hints);
  }
  return look;
}

ScreenPixels::ScreenPixels() {
  DisplayPtr display = Open();
  Window root = DefaultRootWindow(display.get());
  XWindowAttributes attributes;
  XGetWindowAttributes(display.get(), root, &attributes);
  width_ = attributes.width;
  height_ = attributes.height;
  XImage* image =
      XGetImage(display.get(), root, 0, 0, unsigned(width_), unsigned(height_), AllPlanes, ZPixmap);
  if (image == nullptr) throw std::runtime_error("can't read the screen back");
  pixels_.resize(size_t(width_) * size_t(height_));
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      pixels_[size_t(y) * size_t(width_) + size_t(x)] = uint32_t(XGetPixel(image, x, y));
    }
  }
  XDestroyImage(image);
}

Rgb ScreenPixels::At(int x, int y) const {
  // The test display is a 24-bit TrueColor screen: 0xRRGGBB.
  uint32_t pixel = pixels_.at(size_t(y) * size_t(width_) + size_t(x));
  return Rgb{int(pixel >> 16 & 0xFF), int(pixel >> 8 & 0xFF), int(pixel & 0xFF)};
}

void MoveMouse(const XWindowPlace& window, int x, int y) {
  RunCommand("xdotool mousemove " + std::to_string(window.x + x) + " " +
             std::to_string(window.y + y));
}

void ClickMouse() {
  RunCommand("xdotool click 1");
}

void PressKey(const std::string& key) {
  RunCommand("xdotool key " + key);
}

OtherWindowFocused::OtherWindowFocused() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) throw std::runtime_error("no X display");
  display_ = display;
  Window root = DefaultRootWindow(display);
  window_ = XCreateSimpleWindow(display, root, 900, 700, 50, 50, 0, 0, 0);
  XMapWindow(display, window_);
  XSync(display, False);
  usleep(100 * 1000);  // mapped before it can take the focus
  XSetInputFocus(display, window_, RevertToPointerRoot, CurrentTime);
  XSync(display, False);
}

OtherWindowFocused::~OtherWindowFocused() {
  Display* display = static_cast<Display*>(display_);
  XDestroyWindow(display, window_);
  XCloseDisplay(display);
}

void Focus(const XWindowPlace& window) {
  RunCommand("xdotool windowfocus --sync " + std::to_string(window.id));
}
