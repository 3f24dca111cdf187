// A host may unload the module after its games are gone; Allegro's timer
// thread must then have nothing of the module's left to call.
#include <allegro.h>
#include <gtest/gtest.h>

#include "GameModule.h"
#include "HostTimer.h"

namespace {

TEST(UnloadTest, UnloadedModuleLeavesAndItsClockStops) {
  {
    GameModule module{FLINTMOOR_MODULE_PATH};
    auto game = module.NewGame();
    game->SetPath(FLINTMOOR_MODULE_PATH);
    ASSERT_TRUE(game->Init());
    game->Shutdown();
    game.reset();
    ASSERT_TRUE(module.Unload()) << "the module stayed resident after dlclose";
  }
  // Allegro's timer keeps running: had the module's callback stayed
  // installed, the timer thread would now call into unmapped code.
  install_timer();
  ASSERT_EQ(install_int(CountHostTick, 1), 0);
  while (hostTicks < 100) rest(1);
  remove_int(CountHostTick);
  SUCCEED();
}

TEST(UnloadTest, ModuleCanBeLoadedAgainAfterUnloading) {
  for (int round = 0; round < 3; ++round) {
    GameModule module{FLINTMOOR_MODULE_PATH};
    auto game = module.NewGame();
    ASSERT_TRUE(game->Init()) << "round " << round;
    game->Shutdown();
    game.reset();
    ASSERT_TRUE(module.Unload()) << "round " << round;
  }
}

}  // namespace
