// When gamehost's frames reach the X server, as a player's screen gets them:
// every update the server makes inside the window, seen through the DAMAGE
// extension on the root window, grouped into one present per burst. Prints
// the intervals between presents as ratios of the frame period, and with
// --pointer the delay from moving the pointer (through XTest) to the
// server's first update under it.
// Usage: pacing_probe TITLE FPS SECONDS [--pointer]
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "XDisplay.h"

namespace {

using Clock = std::chrono::steady_clock;

// Updates closer together than this belong to one present: a frame's tiles
// are sent in one go.
constexpr double kBurstGapMs = 3;

double Ms(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

double Quantile(std::vector<double> values, double q) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t at = std::min(values.size() - 1, size_t(std::lround(q * double(values.size() - 1))));
  return values[at];
}

void Report(const char* what, const std::vector<double>& values, double periodMs) {
  if (values.empty()) {
    std::printf("%s: none seen\n", what);
    return;
  }
  std::printf("%s: n %zu, median %.3f, p1 %.3f, p95 %.3f, p99 %.3f, worst %.3f periods\n", what,
              values.size(), Quantile(values, 0.5) / periodMs, Quantile(values, 0.01) / periodMs,
              Quantile(values, 0.95) / periodMs, Quantile(values, 0.99) / periodMs,
              *std::max_element(values.begin(), values.end()) / periodMs);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: pacing_probe TITLE FPS SECONDS [--pointer]\n");
    return 2;
  }
  const std::string title = argv[1];
  const double periodMs = 1000.0 / std::atof(argv[2]);
  const double seconds = std::atof(argv[3]);
  const bool pointer = argc > 4 && std::strcmp(argv[4], "--pointer") == 0;

  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "pacing_probe: no X display\n");
    return 1;
  }
  int damageEvent = 0, damageError = 0, major = 0, minor = 0, xtestEvent = 0, xtestError = 0;
  if (!XDamageQueryExtension(display, &damageEvent, &damageError) ||
      !XTestQueryExtension(display, &xtestEvent, &xtestError, &major, &minor)) {
    std::fprintf(stderr, "pacing_probe: the X server lacks DAMAGE or XTEST\n");
    return 1;
  }
  const std::optional<XWindowPlace> window = FindWindow(title, 10);
  if (!window) {
    std::fprintf(stderr, "pacing_probe: no window titled '%s'\n", title.c_str());
    return 1;
  }
  const Window root = DefaultRootWindow(display);
  XDamageCreate(display, root, XDamageReportRawRectangles);
  XFlush(display);

  std::mt19937 random(1);
  std::uniform_int_distribution<int> alongX(window->width / 8, window->width * 7 / 8);
  std::uniform_int_distribution<int> alongY(window->height / 8, window->height * 3 / 4);
  std::uniform_int_distribution<int> pauseMs(150, 350);

  std::vector<double> presents;  // ms since the start, first update of each
  std::vector<double> delays;    // pointer moved to the first update under it
  const auto start = Clock::now();
  auto nextMove = start + std::chrono::milliseconds(500);
  Clock::time_point moved;
  bool awaiting = false;  // the pointer moved and nothing under it was updated yet
  int pointerX = 0, pointerY = 0;
  double last = -1e9;
  const int connection = ConnectionNumber(display);
  while (Ms(Clock::now() - start) < seconds * 1000) {
    if (pointer && !awaiting && Clock::now() >= nextMove) {
      pointerX = window->x + alongX(random);
      pointerY = window->y + alongY(random);
      XTestFakeMotionEvent(display, -1, pointerX, pointerY, CurrentTime);
      XFlush(display);
      moved = Clock::now();
      awaiting = true;
    }
    if (XPending(display) == 0) {
      pollfd readable{connection, POLLIN, 0};
      poll(&readable, 1, 2);
      continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    const auto now = Clock::now();
    if (event.type != damageEvent + XDamageNotify) continue;
    const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
    const XRectangle& area = damage.area;
    const bool inWindow = area.x < window->x + window->width && area.x + area.width > window->x &&
                          area.y < window->y + window->height && area.y + area.height > window->y;
    if (!inWindow) continue;
    const double at = Ms(now - start);
    if (at - last > kBurstGapMs) presents.push_back(at);
    last = at;
    if (awaiting && pointerX >= area.x && pointerX < area.x + area.width && pointerY >= area.y &&
        pointerY < area.y + area.height) {
      delays.push_back(Ms(now - moved));
      awaiting = false;
      nextMove = now + std::chrono::milliseconds(pauseMs(random));
    }
  }
  std::vector<double> intervals;
  for (size_t i = 1; i < presents.size(); ++i) intervals.push_back(presents[i] - presents[i - 1]);
  std::printf("window %dx%d, period %.2f ms, %.1f presents a second\n", window->width,
              window->height, periodMs, double(presents.size()) / seconds);
  Report("present intervals", intervals, periodMs);
  if (pointer) Report("pointer to crosshair", delays, periodMs);
  XCloseDisplay(display);
  return 0;
}
