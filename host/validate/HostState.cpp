#include "AllegroState.h"

#include <allegro.h>

#include <cstdio>

namespace {

std::string Hex(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
  return text;
}

std::string DriverName(int id) {
  if (id == 0) return "none";
  std::string name;
  for (int shift = 24; shift >= 0; shift -= 8) {
    char c = char((id >> shift) & 0xff);
    if (c > ' ' && c < 0x7f) name += c;
  }
  return name;
}

}  // namespace

AllegroState CurrentAllegroState() {
  return {get_color_depth(),
          get_color_conversion(),
          gfx_driver != nullptr ? gfx_driver->id : 0,
          SCREEN_W,
          SCREEN_H,
          screen,
          timer_driver != nullptr};
}

std::string AllegroChanges(const AllegroState& before, const AllegroState& after) {
  std::string changes;
  auto change = [&](const std::string& what, const std::string& was, const std::string& now) {
    if (was == now) return;
    changes += std::string(changes.empty() ? "" : ", ") + what + " from " + was + " to " + now;
  };
  change("the colour depth (set_color_depth)", std::to_string(before.colourDepth),
         std::to_string(after.colourDepth));
  change("the colour conversion (set_color_conversion)", Hex(before.colourConversion),
         Hex(after.colourConversion));
  change("the graphics driver (set_gfx_mode)", DriverName(before.graphicsDriver),
         DriverName(after.graphicsDriver));
  change("the screen size (set_gfx_mode)",
         std::to_string(before.screenWidth) + "x" + std::to_string(before.screenHeight),
         std::to_string(after.screenWidth) + "x" + std::to_string(after.screenHeight));
  if (before.screen != after.screen && before.screenWidth == after.screenWidth) {
    changes += std::string(changes.empty() ? "" : ", ") + "the screen bitmap (set_gfx_mode)";
  }
  change("the timer (remove_timer)", before.timerInstalled ? "installed" : "not installed",
         after.timerInstalled ? "installed" : "removed");
  return changes;
}
