// A whole session driven through IGame, as a host would, for memcheck:
// create, SetPath twice, Init, frames with spawns, hits and escapes,
// Shutdown, Init again, Shutdown, destroy, unload. It takes turns: it rests
// until a target escapes, then clicks on whatever differs from the empty
// sky it saw first until it scores, a few times over.
#include <allegro.h>

#include <cstdio>

#include "AllegroStart.h"
#include "GameModule.h"
#include "Sharpshooter.h"

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
  constexpr int kMostFrames = 50000;
  if (!StartAllegroLibrary()) return 2;
  set_color_depth(32);
  long hits = 0, misses = 0;
  {
    GameModule module{FLINTMOOR_MODULE_PATH};
    auto game = module.NewGame();
    game->SetPath("first/place/flintmoor.so");
    game->SetPath(FLINTMOOR_MODULE_PATH);
    if (!game->Init()) return 3;
    int frame = 0;
    {
      Sharpshooter player(*game);
      for (bool playing = false; frame < kMostFrames && (hits < rounds || misses < rounds);
           ++frame) {
        int32_t before = game->GetScore();
        if (player.Frame(playing) != 0) {
          ++misses;
          playing = true;
        }
        if (game->GetScore() > before) {
          ++hits;
          playing = false;
        }
      }
    }
    std::printf("%d frames: %ld escapes, %ld new best scores (best %d)\n", frame, misses, hits,
                game->GetScore());
    game->Shutdown();
    bool again = game->Init();
    {
      Sharpshooter player(*game);
      player.Frame(true);
    }
    game->Shutdown();
    game.reset();
    remove_timer();
    if (!again || !module.Unload()) return 4;
  }
  return hits >= rounds && misses >= rounds ? 0 : 5;
}
END_OF_MAIN()
