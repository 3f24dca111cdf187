#include "XDisplay.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "Command.h"

namespace {

using DisplayPtr = std::unique_ptr<Display, int (*)(Display*)>;

// Windows come and go while a test looks at them (a window manager's
// frames, the game's own): a request about one just gone fails, and
// Xlib's default answer to that is to end the test's process.
int IgnoreError(Display* /*display*/, XErrorEvent* /*error*/) {
  return 0;
}

Display* Connect() {
  XSetErrorHandler(IgnoreError);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) throw std::runtime_error("no X display");
  return display;
}

DisplayPtr Open() {
  return DisplayPtr(Connect(), XCloseDisplay);
}

// The viewable window with this title below `parent`: a top-level window,
// or one a window manager has put inside a frame of its own.
std::optional<XWindowPlace> Search(Display* display, Window parent, const std::string& title,
                                   int depth = 3) {
  Window root = 0, above = 0, *children = nullptr;
  unsigned count = 0;
  if (XQueryTree(display, parent, &root, &above, &children, &count) == 0) return std::nullopt;
  std::optional<XWindowPlace> found;
  for (unsigned i = 0; i < count && !found; ++i) {
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) != 0 && name != nullptr) {
      XWindowAttributes attributes;
      if (title == name && XGetWindowAttributes(display, children[i], &attributes) != 0 &&
          attributes.map_state == IsViewable) {
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(display, children[i], root, 0, 0, &x, &y, &child);
        found = XWindowPlace{children[i], x, y, attributes.width, attributes.height};
      }
      XFree(name);
    }
    if (!found && depth > 1) found = Search(display, children[i], title, depth - 1);
  }
  if (children != nullptr) XFree(children);
  return found;
}

}  // namespace

std::optional<XWindowPlace> FindWindow(const std::string& title, double seconds) {
  DisplayPtr display = Open();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    if (auto found = Search(display.get(), DefaultRootWindow(display.get()), title)) return found;
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
  const Atom icon = XInternAtom(display.get(), "_NET_WM_ICON", False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display.get(), window.id, icon, 0, 1 << 20, False, AnyPropertyType, &type,
                         &format, &count, &after, &data) == Success &&
      data != nullptr) {
    // Format 32 comes as longs.
    const auto* values = reinterpret_cast<const unsigned long*>(data);
    if (format == 32 && count >= 2) {
      look.netIconWidth = int(values[0]);
      look.netIconHeight = int(values[1]);
      look.netIconValues = long(count);
      for (unsigned long i = 2; i < count; ++i) {
        if ((values[i] & 0xFFFFFFFFUL) >> 24 == 0xFF) {  // a long each, maybe sign-extended
          look.netIconFirstOpaque = uint32_t(values[i] & 0xFFFFFF);
          break;
        }
      }
    }
    XFree(data);
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

void PressKey(const XWindowPlace& window, const std::string& key) {
  Focus(window);
  PressKey(key);
}

void HoldKey(const XWindowPlace& window, const std::string& key, int milliseconds) {
  Focus(window);
  RunCommand("xdotool keydown " + key);
  usleep(useconds_t(milliseconds) * 1000);
  RunCommand("xdotool keyup " + key);
}

bool SystemPointerShown() {
  const DisplayPtr display = Open();
  XFixesCursorImage* image = XFixesGetCursorImage(display.get());
  if (image == nullptr) return false;
  bool seen = false;
  for (int i = 0; i < image->width * image->height && !seen; ++i) {
    seen = (image->pixels[i] >> 24) != 0;  // ARGB: any alpha at all
  }
  XFree(image);
  return seen;
}

OtherWindowFocused::OtherWindowFocused() {
  Display* display = Connect();
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
  // Bounded: xdotool waits forever for a focus the window never gets.
  RunCommand("timeout 10 xdotool windowfocus --sync " + std::to_string(window.id));
}

WindowManager::WindowManager() {
  // Openbox claims the screen before its event loop runs, and a window
  // asked to appear in between is never shown (Allegro then waits for it
  // forever): it is ready once it has run its start-up command.
  char folder[] = "/tmp/openbox-ready-XXXXXX";
  if (mkdtemp(folder) == nullptr) throw std::runtime_error("no temporary folder");
  const std::string ready = std::string(folder) + "/ready";
  const std::string startup = "touch " + ready;
  const pid_t test = getpid();
  pid_ = fork();
  if (pid_ == 0) {
    EndWithParent(test);
    // It talks of menus it lacks; and output of its would keep the test's
    // own open after the test.
    const int quiet = open("/dev/null", O_WRONLY);
    if (quiet >= 0) {
      dup2(quiet, STDOUT_FILENO);
      dup2(quiet, STDERR_FILENO);
    }
    execlp("openbox", "openbox", "--sm-disable", "--startup", startup.c_str(),
           static_cast<char*>(nullptr));
    _exit(127);
  }
  for (int i = 0; i < 200 && access(ready.c_str(), F_OK) != 0; ++i) usleep(50 * 1000);
  const bool started = access(ready.c_str(), F_OK) == 0;
  unlink(ready.c_str());
  rmdir(folder);
  if (!started) {
    Stop();
    throw std::runtime_error("openbox did not start (apt-get install openbox)");
  }
}

WindowManager::~WindowManager() {
  Stop();
}

void WindowManager::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}
