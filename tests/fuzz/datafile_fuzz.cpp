// Fuzz target: any bytes as the game's datafile, then the whole path a host
// takes: Init, frames that spawn, flip and hit targets and draw them, and
// Shutdown. Nothing on that path may crash, hang or take much memory.
#include <allegro.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "Flintmoor.h"
#include "FlintmoorProbe.h"
#include "Resources.h"
#include "System.h"
#include "TickClock.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFrames = 6;

BITMAP* screenPicture = nullptr;  // the host's 640x480 picture

// A few frames in which every target is brought into sight, every other one
// flying left (drawn flipped) and the newest one shot, so every picture and
// the sound are used.
void Play(Flintmoor& game) {
  FlintmoorProbe probe(game);
  for (int frame = 0; frame < kFrames; ++frame) {
    tickCount.store(1 << 20);  // a spawn is due
    MouseInput idle{0, 0, 0};
    game.Update(0, &idle);
    int place = 0;
    for (auto& target : probe.targets()) {
      target->x = 20 + 40 * place;
      target->y = 100;
      target->dir = place % 2 == 0 ? +1 : -1;
      target->frame = place / 2 % 2;
      ++place;
    }
    if (!probe.targets().empty()) {
      const Target& newest = *probe.targets().back();
      MouseInput shot{2 * (newest.x + Target::kSize / 2), 2 * (newest.y + Target::kSize / 2), 1};
      game.Update(0, &shot);
    }
    game.Draw(screenPicture);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (allegro_init() != 0) {
    std::fprintf(stderr, "allegro_init failed (no X display?): %s\n", allegro_error);
    std::exit(1);
  }
  set_color_depth(32);
  // A real sound device when there is one, so the mixer plays what loaded.
  install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr);
  screenPicture = create_bitmap(640, 480);
  // A private working folder, where Init looks for the datafile.
  const std::string folder = MakeTemporaryFolder("flintmoor-fuzz-");
  if (folder.empty()) std::exit(1);
  fs::current_path(folder);
  fs::create_directories(fs::path(kDatafilePath).parent_path());
  std::atexit([] {
    // Out of it first: Windows removes no process's working folder.
    const fs::path folder = fs::current_path();
    fs::current_path(folder.parent_path());
    fs::remove_all(folder);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::ofstream(kDatafilePath, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), std::streamsize(size));
  Flintmoor game;
  if (game.Init()) Play(game);
  game.Shutdown();
  return 0;
}
