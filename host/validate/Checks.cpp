#include "Checks.h"

#include <algorithm>

const std::vector<Check>& AllChecks() {
  static const std::vector<Check> checks = {
      {"exports GetPlugin", "GetPlugin is exported and answers a new game at every call", 10, 32,
       ExportsGetPlugin},
      {"identity",
       "name, author, description, version and icon: never null, the same at every call and "
       "still there after the games are gone",
       10, 32, Identity},
      {"SetPath", "SetPath keeps the path's folder; a null path is ignored", 10, 32, SetPath},
      {"Init in time", "Init answers true within 100 ms, with the module's games/ folder there", 10,
       32, InitInTime},
      {"frames at 32 bpp",
       "3000 frames of edge and random input: Draw paints all of 640x480 and nothing beyond, "
       "Update leaves the mouse alone, no frame slow, memory flat",
       60, 32, Frames},
      {"frames at 16 bpp", "the same at 16 bits per pixel", 60, 16, Frames},
      {"long play",
       "20000 frames at full speed, or 20 s: memory flat over the later half, where growth "
       "that begins late shows",
       60, 32, LongPlay},
      {"lifecycle", "Shutdown after a false and a true Init, Init again, GetScore after Shutdown",
       30, 32, Lifecycle},
      {"without resources",
       "in an empty folder Init may answer false; a game that starts anyway runs safely", 30, 32,
       WithoutResources},
      {"Init/Shutdown cycles", "memory and open files do not grow from cycle to cycle", 60, 32,
       InitShutdownCycles},
      {"unload", "after Shutdown and delete nothing of the module runs on: no thread, no timer", 20,
       32, Unload},
      {"load cycles", "memory does not grow from one load, play and unload to the next", 60, 32,
       LoadCycles},
      {"as gamehost plays at 1x",
       "loaded before Allegro, in gamehost's 640x500 window with keyboard, mouse and sound; Init "
       "without SetPath; the answers the same all along; unloaded after allegro_exit",
       30, 0, AsGamehostAt1x},
      {"as gamehost plays at 2x", "the same in gamehost's 1280x1000 window", 30, 0, AsGamehostAt2x},
      {"colours at load",
       "a copy loaded before Allegro starts draws what the module loaded after it draws: no "
       "colour made before the host set its colour depth",
       30, 0, ColoursAtLoad},
      {"memcheck",
       "Init, 30 frames and Shutdown under valgrind's memcheck: no read of uninitialised or freed "
       "memory in the module's code (not run where valgrind is not installed, and said so)",
       120, 0, Memcheck},
      {kFramesUnderMemcheckWork, "", 60, 32, FramesUnderMemcheck, true},
  };
  return checks;
}

const Check* FindCheck(const std::string& name) {
  const auto& checks = AllChecks();
  auto found = std::find_if(checks.begin(), checks.end(),
                            [&](const Check& check) { return name == check.name; });
  return found == checks.end() ? nullptr : &*found;
}
