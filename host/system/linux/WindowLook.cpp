#include "WindowLook.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#include <X11/Xatom.h>
#include <xalleg.h>
// Allegro's X11 icon, XPM data, read when its window is made.
extern "C" void* allegro_icon;

namespace {

// The icon as XPM text lines, kept for as long as Allegro may read them.
std::vector<std::string> xpmLines;
std::vector<const char*> xpm;
// The same picture as _NET_WM_ICON wants it: width, height, then a pixel
// each, 0xAARRGGBB, each in a long (as Xlib takes 32-bit properties).
std::vector<unsigned long> argb;

void MakeArgb(BITMAP* picture) {
  argb = {static_cast<unsigned long>(picture->w), static_cast<unsigned long>(picture->h)};
  for (int y = 0; y < picture->h; ++y) {
    for (int x = 0; x < picture->w; ++x) {
      const int colour = getpixel(picture, x, y);
      const unsigned long opaque = colour == bitmap_mask_color(picture) ? 0 : 0xFF000000UL;
      argb.push_back(opaque | static_cast<unsigned long>(getr32(colour) << 16 |
                                                         getg32(colour) << 8 | getb32(colour)));
    }
  }
}

// XPM lines for a picture: two characters a pixel, Allegro's mask colour
// (bright pink) transparent.
void MakeXpm(BITMAP* picture) {
  const char digits[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  const int base = int(sizeof digits) - 1;
  std::map<int, std::string> codes;
  std::vector<std::string> rows;
  for (int y = 0; y < picture->h; ++y) {
    std::string row;
    for (int x = 0; x < picture->w; ++x) {
      int colour = getpixel(picture, x, y);
      auto code = codes.find(colour);
      if (code == codes.end()) {
        int n = int(codes.size());
        code = codes.emplace(colour, std::string{digits[n / base % base], digits[n % base]}).first;
      }
      row += code->second;
    }
    rows.push_back(row);
  }
  if (codes.size() > size_t(base) * size_t(base))
    return;  // more colours than codes: keep Allegro's icon
  xpmLines.push_back(std::to_string(picture->w) + " " + std::to_string(picture->h) + " " +
                     std::to_string(codes.size()) + " 2");
  for (const auto& [colour, code] : codes) {
    char value[16];
    if (colour == bitmap_mask_color(picture)) {
      std::snprintf(value, sizeof value, "None");
    } else {
      std::snprintf(value, sizeof value, "#%02X%02X%02X", getr32(colour), getg32(colour),
                    getb32(colour));
    }
    xpmLines.push_back(code + " c " + value);
  }
  xpmLines.insert(xpmLines.end(), rows.begin(), rows.end());
  for (const std::string& line : xpmLines) xpm.push_back(line.c_str());
}

}  // namespace

void SetWindowLook(const std::string& iconFile) {
  xwin_set_window_name("gamehost", "gamehost");
  // The picture is read with Allegro's system-less driver: no window yet.
  if (xpm.empty() && install_allegro(SYSTEM_NONE, &errno, std::atexit) == 0) {
    set_color_depth(32);
    set_color_conversion(COLORCONV_TOTAL);
    if (BITMAP* icon = load_bitmap(iconFile.c_str(), nullptr)) {
      MakeXpm(icon);
      MakeArgb(icon);
      destroy_bitmap(icon);
    }
    allegro_exit();
  }
  if (!xpm.empty()) allegro_icon = xpm.data();
}

void FinishWindowLook() {
  if (argb.empty() || _xwin.display == nullptr || _xwin.wm_window == None) return;
  XLOCK();
  const Atom icon = XInternAtom(_xwin.display, "_NET_WM_ICON", False);
  XChangeProperty(_xwin.display, _xwin.wm_window, icon, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(argb.data()), int(argb.size()));
  XFlush(_xwin.display);
  XUNLOCK();
}
