// Starting and stopping a game: what Init and Shutdown leave behind.
#include <allegro.h>
#include <gtest/gtest.h>

#include "Datafiles.h"
#include "Flintmoor.h"
#include "FlintmoorProbe.h"
#include "WorkingFolder.h"

namespace {

TEST(LifecycleTest, StartedGameHoldsBufferDataAndFreshCounters) {
  Flintmoor game;
  FlintmoorProbe probe(game);
  ASSERT_TRUE(game.Init());
  ASSERT_NE(probe.buffer(), nullptr);
  EXPECT_EQ(probe.buffer()->w, 320);
  EXPECT_EQ(probe.buffer()->h, 240);
  EXPECT_EQ(bitmap_color_depth(probe.buffer()), 32);
  EXPECT_NE(probe.data(), nullptr);
  EXPECT_EQ(probe.score(), 0);
  EXPECT_EQ(probe.bestScore(), 0);
  EXPECT_EQ(probe.spawnInterval(), 250);
  EXPECT_FALSE(probe.buttonLatch());
  game.Shutdown();
  EXPECT_EQ(probe.buffer(), nullptr);
  EXPECT_EQ(probe.data(), nullptr);
}

TEST(LifecycleTest, FailedLoadKeepsTheBufferUntilShutdown) {
  Flintmoor game;
  FlintmoorProbe probe(game);
  probe.score() = 9;
  probe.spawnInterval() = 12;
  {
    WorkingFolder elsewhere;
    ASSERT_FALSE(game.Init());
  }
  EXPECT_NE(probe.buffer(), nullptr);
  EXPECT_EQ(probe.data(), nullptr);
  EXPECT_EQ(probe.score(), 0);
  EXPECT_EQ(probe.spawnInterval(), 250);
  game.Shutdown();
  EXPECT_EQ(probe.buffer(), nullptr);
}

TEST(LifecycleTest, NextInitResetsCountersButKeepsTargetsInFlight) {
  Flintmoor game;
  FlintmoorProbe probe(game);
  ASSERT_TRUE(game.Init());
  probe.score() = 3;
  probe.bestScore() = 7;
  probe.spawnInterval() = 40;
  probe.buttonLatch() = true;
  probe.targets().push_back(std::make_unique<Target>());
  probe.targets().back()->x = 100;
  game.Shutdown();
  EXPECT_EQ(game.GetScore(), 7) << "the best score outlives Shutdown";
  ASSERT_TRUE(game.Init());
  EXPECT_EQ(game.GetScore(), 0);
  EXPECT_EQ(probe.score(), 0);
  EXPECT_EQ(probe.spawnInterval(), 250);
  EXPECT_FALSE(probe.buttonLatch());
  ASSERT_EQ(probe.targets().size(), 1u);
  EXPECT_EQ(probe.targets()[0]->x, 100);
  game.Shutdown();
}

// Datafiles whose objects are not where the frame operations look for them
// are refused: the game would otherwise read past them or draw garbage.
TEST(LifecycleTest, InitRefusesDatafilesWithoutTheGameObjectsInOrder) {
  std::vector<DatObject> all = GameObjects();
  std::vector<DatObject> fourOnly(all.begin(), all.begin() + 4);
  std::vector<DatObject> swapped = all;
  std::swap(swapped[3], swapped[4]);
  std::vector<DatObject> wrongSize = all;
  wrongSize[2] = {"icon.bmp", "BMP"};  // 32x32
  std::vector<DatObject> soundOnly = {all[4]};
  for (const auto& objects : {fourOnly, swapped, wrongSize, soundOnly}) {
    WorkingFolder elsewhere;
    elsewhere.PutDatafile(PackDatafile(objects));
    Flintmoor game;
    FlintmoorProbe probe(game);
    EXPECT_FALSE(game.Init()) << "datafile of " << objects.size() << " objects";
    EXPECT_EQ(probe.data(), nullptr);
    game.Shutdown();
  }
}

TEST(LifecycleTest, InitAcceptsExtraObjectsAfterTheFive) {
  std::vector<DatObject> objects = GameObjects();
  objects.push_back(objects[0]);
  WorkingFolder elsewhere;
  elsewhere.PutDatafile(PackDatafile(objects));
  Flintmoor game;
  EXPECT_TRUE(game.Init());
  game.Shutdown();
}

}  // namespace
