// A whole session driven through IGame, as a host would, for memcheck:
// create, SetPath twice, Init, frames with spawns, hits and escapes,
// Shutdown, Init again, Shutdown, destroy, unload. It takes turns: it rests
// until a target escapes, then clicks on whatever differs from the empty
// sky it saw first until it scores, a few times over.
#include <allegro.h>

#include <cstdio>

#include "ModuleLoader.h"

namespace {

// A point that differs from the reference picture, below the score line.
bool FindChange(BITMAP* now, BITMAP* reference, int& x, int& y) {
  for (y = 40; y < 480; y += 6) {
    for (x = 0; x < 640; x += 6) {
      if (getpixel(now, x, y) != getpixel(reference, x, y)) return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
  constexpr int kMostFrames = 50000;
  if (allegro_init() != 0) return 2;
  set_color_depth(32);
  long hits = 0, misses = 0;
  {
    ModuleLoader module;
    auto game = module.NewGame();
    game->SetPath("first/place/flintmoor.so");
    game->SetPath(FLINTMOOR_MODULE_PATH);
    if (!game->Init()) return 3;
    BITMAP* sky = create_bitmap(640, 480);
    BITMAP* picture = create_bitmap(640, 480);
    MouseInput mouse{0, 0, 0};
    game->Update(0, &mouse);
    game->Draw(sky);
    game->Draw(picture);
    int frame = 0;
    for (bool playing = false; frame < kMostFrames && (hits < rounds || misses < rounds); ++frame) {
      int x = 0, y = 0;
      // Looks and presses every fourth frame while playing.
      bool press = playing && frame % 4 == 0 && FindChange(picture, sky, x, y);
      mouse = MouseInput{x + 6, y + 6, press ? 1 : 0};
      int32_t before = game->GetScore();
      if (game->Update(0, &mouse) != 0) {
        ++misses;
        playing = true;
      }
      if (game->GetScore() > before) {
        ++hits;
        playing = false;
      }
      game->Draw(picture);
    }
    std::printf("%d frames: %ld escapes, %ld new best scores (best %d)\n", frame, misses, hits,
                game->GetScore());
    game->Shutdown();
    bool again = game->Init();
    game->Update(0, &mouse);
    game->Draw(picture);
    game->Shutdown();
    game.reset();
    destroy_bitmap(picture);
    destroy_bitmap(sky);
    remove_timer();
    if (!again || !module.Unload()) return 4;
  }
  return hits >= rounds && misses >= rounds ? 0 : 5;
}
END_OF_MAIN()
