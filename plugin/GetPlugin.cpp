// The module's one export.
#include "Flintmoor.h"
#include "IGame.h"

GAME_PLUGIN_EXPORT IGame* GetPlugin() {
  return new Flintmoor();
}
