// The C game of c_game.c as an IGame.
#include "IGame.h"
#include "c_game.h"

namespace {

class CGame final : public IGame {
 public:
  const char* GetName() override { return "Falling Star"; }
  const char* GetAuthor() override { return "Flintmoor tests"; }
  const char* GetDescription() override { return "A game written in C."; }
  const char* GetVersion() override { return "1.0"; }
  bool Init() override { return c_game_init() != 0; }
  void Shutdown() override { c_game_shutdown(); }
  int32_t Update(int32_t, MouseInput* mouse) override {
    return c_game_update(mouse->x, mouse->y, mouse->buttons);
  }
  void Draw(BITMAP* destination) override { c_game_draw(destination); }
  int32_t GetScore() override { return c_game_best(); }
};

}  // namespace

GAME_PLUGIN_EXPORT IGame* GetPlugin() {
  return new CGame();
}
