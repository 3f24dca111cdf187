// One frame of the game's rules: spawn, click, move, hit, escape.
#include "Flintmoor.h"

int32_t Flintmoor::Update(int32_t, MouseInput*) {
  return 0;
}
