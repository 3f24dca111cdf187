#include "HostState.h"

#include <allegro.h>
#include <allegro/internal/aintern.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <locale>
#include <map>
#include <sstream>

#include "ProcessInfo.h"
#include "SharedLibrary.h"
#include "WindowSystem.h"

namespace {

// The conversion's flags by the names set_color_conversion takes: the
// largest of Allegro's groups that fit, then single flags.
std::string ColourConversion(int flags) {
  if (flags == COLORCONV_NONE) return "COLORCONV_NONE";
#define FLAG(name) \
  { COLORCONV_##name, "COLORCONV_" #name }
  static const std::pair<int, const char*> kNames[] = {FLAG(TOTAL),
                                                       FLAG(KEEP_ALPHA),
                                                       FLAG(MOST),
                                                       FLAG(EXPAND_256),
                                                       FLAG(REDUCE_TO_256),
                                                       FLAG(EXPAND_HI_TO_TRUE),
                                                       FLAG(REDUCE_TRUE_TO_HI),
                                                       FLAG(PARTIAL),
                                                       FLAG(24_EQUALS_32),
                                                       FLAG(DITHER),
                                                       FLAG(8_TO_15),
                                                       FLAG(8_TO_16),
                                                       FLAG(8_TO_24),
                                                       FLAG(8_TO_32),
                                                       FLAG(15_TO_8),
                                                       FLAG(15_TO_16),
                                                       FLAG(15_TO_24),
                                                       FLAG(15_TO_32),
                                                       FLAG(16_TO_8),
                                                       FLAG(16_TO_15),
                                                       FLAG(16_TO_24),
                                                       FLAG(16_TO_32),
                                                       FLAG(24_TO_8),
                                                       FLAG(24_TO_15),
                                                       FLAG(24_TO_16),
                                                       FLAG(24_TO_32),
                                                       FLAG(32_TO_8),
                                                       FLAG(32_TO_15),
                                                       FLAG(32_TO_16),
                                                       FLAG(32_TO_24),
                                                       FLAG(32A_TO_8),
                                                       FLAG(32A_TO_15),
                                                       FLAG(32A_TO_16),
                                                       FLAG(32A_TO_24),
                                                       FLAG(DITHER_PAL),
                                                       FLAG(DITHER_HI),
                                                       FLAG(KEEP_TRANS)};
#undef FLAG
  std::string names;
  int left = flags;
  for (const auto& [bits, name] : kNames) {
    if ((left & bits) != bits) continue;
    names += (names.empty() ? "" : " | ") + std::string(name);
    left &= ~bits;
  }
  if (left != 0) {
    char rest[16];
    std::snprintf(rest, sizeof rest, "0x%x", static_cast<unsigned>(left));
    names += (names.empty() ? "" : " | ") + std::string(rest);
  }
  return names;
}

std::string Address(const void* address) {
  if (address == nullptr) return "none";
  char text[32];
  std::snprintf(text, sizeof text, "%p", address);
  return text;
}

// A callback by the function's name where the loader knows it.
std::string Code(const void* address) {
  return address == nullptr ? "none" : SharedLibrary::CodeAt(address);
}

template <typename Function>
std::string Callback(Function* function) {
  return Code(reinterpret_cast<const void*>(function));
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

std::string WorkingFolder() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::current_path(error);
  return error ? "none (" + error.message() + ")" : folder.u8string();
}

}  // namespace

HostState CurrentHostState() {
  HostState state = {
      {"the colour depth (set_color_depth)", std::to_string(get_color_depth())},
      {"the colour conversion (set_color_conversion)", ColourConversion(get_color_conversion())},
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
      {"the mouse callback (mouse_callback)", Callback(mouse_callback)},
      {"the keyboard callback (keyboard_callback)", Callback(keyboard_callback)},
      {"the keyboard callback (keyboard_ucallback)", Callback(keyboard_ucallback)},
      {"the keyboard callback (keyboard_lowlevel_callback)", Callback(keyboard_lowlevel_callback)},
      {"Ctrl-Alt-End (three_finger_flag)", std::to_string(three_finger_flag)},
      {"the text mode (text_mode)",
       _textmode < 0 ? "transparent" : "colour " + std::to_string(_textmode)},
      {"the C locale (setlocale)", std::setlocale(LC_ALL, nullptr)},
      {"the C++ global locale (std::locale::global)", std::locale().name()},
      {"the working folder (chdir)", WorkingFolder()},
  };
  if (screen != nullptr) {
    state.emplace_back("the screen's clipping (set_clip_rect)",
                       std::to_string(screen->cl) + "," + std::to_string(screen->ct) + " to " +
                           std::to_string(screen->cr) + "," + std::to_string(screen->cb));
  }
  if (const auto closeButton = CloseButtonCallback()) {
    state.emplace_back("the close button's callback (set_close_button_callback)",
                       Code(*closeButton));
  }
  for (auto& entry : HostOwnedProcessState()) state.push_back(std::move(entry));
  return state;
}

namespace {

// A list entry's lines, KEY TAB STATE, by key.
std::map<std::string, std::string> ListLines(const std::string& list) {
  std::map<std::string, std::string> lines;
  std::istringstream in(list);
  for (std::string line; std::getline(in, line);) {
    const size_t tab = line.find('\t');
    lines[line.substr(0, tab)] = tab == std::string::npos ? "" : line.substr(tab + 1);
  }
  return lines;
}

}  // namespace

std::string HostStateChanges(const HostState& before, const HostState& after) {
  std::string changes;
  auto add = [&](const std::string& what, const std::string& was, const std::string& is) {
    changes += (changes.empty() ? "" : ", ") + what + " from " + was + " to " + is;
  };
  // A list's changes, each thing of it named.
  auto addList = [&](const std::string& what, const std::string& was, const std::string& is) {
    const size_t key = what.find("{}");
    const auto named = [&](const std::string& name) {
      return what.substr(0, key) + name + what.substr(key + 2);
    };
    const auto wasLines = ListLines(was), isLines = ListLines(is);
    for (const auto& [name, state] : wasLines) {
      auto now = isLines.find(name);
      if (now == isLines.end()) {
        add(named(name), state, "none");
      } else if (now->second != state) {
        add(named(name), state, now->second);
      }
    }
    for (const auto& [name, state] : isLines) {
      if (wasLines.count(name) == 0) add(named(name), "none", state);
    }
  };
  auto find = [](const HostState& state, const std::string& what) -> const std::string* {
    for (const auto& [name, value] : state) {
      if (name == what) return &value;
    }
    return nullptr;
  };
  for (const auto& [what, was] : before) {
    const std::string* is = find(after, what);
    if (is != nullptr && *is == was) continue;
    if (what.find("{}") != std::string::npos) {
      addList(what, was, is != nullptr ? *is : "");
    } else {
      add(what, was, is != nullptr ? *is : "none");
    }
  }
  for (const auto& [what, is] : after) {
    if (find(before, what) != nullptr) continue;
    if (what.find("{}") != std::string::npos) {
      addList(what, "", is);
    } else {
      add(what, "none", is);
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
