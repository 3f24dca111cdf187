// The module's one export.
#include "Flintmoor.h"
#include "IGame.h"

extern "C" __attribute__((visibility("default"))) IGame* GetPlugin() {
  return new Flintmoor();
}
