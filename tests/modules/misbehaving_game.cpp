// Games that misbehave where a collection meets them, for gamehost's
// collection to survive: built once for each of
//   CRASHES_NAMING   GetName crashes, when the collection asks what it is
//   HANGS_STARTING   GetPlugin never returns
//   CRASHES_PLAYING  "Tumbler": Update crashes at frame 100 of a round
#include <allegro.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "IGame.h"

namespace {

class MisbehavingGame final : public IGame {
 public:
  const char* GetName() override {
#ifdef CRASHES_NAMING
    std::raise(SIGSEGV);
#endif
    return "Tumbler";
  }
  const char* GetAuthor() override {
    return "Flintmoor tests";
  }
  const char* GetDescription() override {
    return "Falls over at the hundredth frame.";
  }
  const char* GetVersion() override {
    return "1.0";
  }
  int32_t Update(int32_t, MouseInput*) override {
#ifdef CRASHES_PLAYING
    if (++frames_ == 100) std::raise(SIGSEGV);
#endif
    return 0;
  }
  void Draw(BITMAP* destination) override {
    rectfill(destination, 0, 0, kGamePictureWidth - 1, kGamePictureHeight - 1,
             makecol(120, 60, 30));
  }
  int32_t GetScore() override {
    return 0;
  }

 private:
  int frames_ = 0;
};

}  // namespace

GAME_PLUGIN_EXPORT IGame* GetPlugin() {
#ifdef HANGS_STARTING
  for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
#endif
  return new MisbehavingGame();
}
