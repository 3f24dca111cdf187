// A game's module let go of once its game is destroyed, so the next game is
// loaded into a host as it was: what the stage and the player set up in
// Allegro put back, timer callbacks in the module's code and voices still
// playing removed, then the module unloaded.
#ifndef FLINTMOOR_HOST_LETGO_H
#define FLINTMOOR_HOST_LETGO_H

#include <memory>

#include "GameModule.h"
#include "Player.h"
#include "Stage.h"

void LetGoOf(std::unique_ptr<GameModule> module, Stage& stage, Player& player);

#endif
