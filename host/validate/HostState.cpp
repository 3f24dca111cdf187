#include "HostState.h"

#include <allegro.h>
#include <allegro/internal/aintern.h>

#include <cstdio>

#include "ProcessInfo.h"
#include "WindowSystem.h"

namespace {

std::string Hex(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
  return text;
}

std::string Address(const void* address) {
  if (address == nullptr) return "none";
  char text[32];
  std::snprintf(text, sizeof text, "%p", address);
  return text;
}

template <typename Function>
std::string FunctionAddress(Function* function) {
  return Address(reinterpret_cast<const void*>(function));
}

// A driver's four-letter id as Allegro writes it ('XWIN'), or "none".
std::string DriverName(int id) {
  if (id == 0) return "none";
  std::string name;
  for (int shift = 24; shift >= 0; shift -= 8) {
    char c = char((id >> shift) & 0xff);
    if (c > ' ' && c < 0x7f) name += c;
  }
  return name;
}

template <typename Driver>
std::string Installed(const Driver* driver) {
  return driver != nullptr ? DriverName(driver->id) : "none";
}

std::string DrawingMode(int mode) {
  switch (mode) {
    case DRAW_MODE_SOLID:
      return "solid";
    case DRAW_MODE_XOR:
      return "xor";
    case DRAW_MODE_TRANS:
      return "translucent";
    default:
      return "pattern " + std::to_string(mode);
  }
}

}  // namespace

HostState CurrentHostState() {
  HostState state = {
      {"the colour depth (set_color_depth)", std::to_string(get_color_depth())},
      {"the colour conversion (set_color_conversion)", Hex(get_color_conversion())},
      {"the graphics driver (set_gfx_mode)", Installed(gfx_driver)},
      {"the screen size (set_gfx_mode)", std::to_string(SCREEN_W) + "x" + std::to_string(SCREEN_H)},
      {"the screen bitmap (set_gfx_mode)", Address(screen)},
      {"the timer (remove_timer)", timer_driver != nullptr ? "installed" : "removed"},
      {"the keyboard (install_keyboard)", Installed(keyboard_driver)},
      {"the mouse (install_mouse)", Installed(mouse_driver)},
      {"the sound driver (install_sound)", Installed(digi_driver)},
      {"the MIDI driver (install_sound)", Installed(midi_driver)},
      {"the drawing mode (drawing_mode)", DrawingMode(_drawing_mode)},
      {"the drawing pattern (drawing_mode)", Address(_drawing_pattern)},
      {"the colour map (color_map)", Address(color_map)},
      {"the RGB map (rgb_map)", Address(rgb_map)},
      {"the font (font)", Address(font)},
      {"the display switch mode (set_display_switch_mode)",
       std::to_string(get_display_switch_mode())},
      {"the mouse callback (mouse_callback)", FunctionAddress(mouse_callback)},
      {"the keyboard callback (keyboard_callback)", FunctionAddress(keyboard_callback)},
      {"the keyboard callback (keyboard_ucallback)", FunctionAddress(keyboard_ucallback)},
      {"the keyboard callback (keyboard_lowlevel_callback)",
       FunctionAddress(keyboard_lowlevel_callback)},
      {"Ctrl-Alt-End (three_finger_flag)", std::to_string(three_finger_flag)},
  };
  if (screen != nullptr) {
    state.emplace_back("the screen's clipping (set_clip_rect)",
                       std::to_string(screen->cl) + "," + std::to_string(screen->ct) + " to " +
                           std::to_string(screen->cr) + "," + std::to_string(screen->cb));
  }
  if (const auto closeButton = CloseButtonCallback()) {
    state.emplace_back("the close button's callback (set_close_button_callback)",
                       Address(*closeButton));
  }
  for (auto& entry : HostOwnedProcessState()) state.push_back(std::move(entry));
  return state;
}

std::string HostStateChanges(const HostState& before, const HostState& after) {
  std::string changes;
  for (const auto& [what, was] : before) {
    for (const auto& [now, is] : after) {
      if (now != what || is == was) continue;
      if (!changes.empty()) changes += ", ";
      changes += what;
      changes += " from " + was;
      changes += " to " + is;
    }
  }
  return changes;
}

int PlayingVoices() {
  if (digi_driver == nullptr || digi_driver->id == DIGI_NONE) return 0;
  int playing = 0;
  for (int voice = 0; voice < VIRTUAL_VOICES; ++voice) playing += voice_check(voice) != nullptr;
  return playing;
}
