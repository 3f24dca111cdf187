// The module as a host sees it: loaded with dlopen, driven only through IGame.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "GameModule.h"
#include "IGame.h"
#include "Sharpshooter.h"
#include "Version.h"
#include "WorkingFolder.h"

namespace {

class ModuleTest : public testing::Test {
 protected:
  GameModule module{FLINTMOOR_MODULE_PATH};
};

TEST_F(ModuleTest, EachGetPluginCallCreatesItsOwnGame) {
  auto first = module.NewGame();
  auto second = module.NewGame();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first.get(), second.get());
  first->SetPath("one/game.so");
  EXPECT_EQ(second->path, nullptr);
}

TEST_F(ModuleTest, IdentityAnswers) {
  auto game = module.NewGame();
  EXPECT_STREQ(game->GetName(), "Flintmoor");
  EXPECT_STREQ(game->GetAuthor(), "Vandrel");
  EXPECT_STREQ(game->GetDescription(), "Shoot them down with your mouse as fast as you can.");
  EXPECT_STREQ(game->GetVersion(), FLINTMOOR_VERSION);  // the project's
  EXPECT_STREQ(game->GetIcon(), "icon.bmp");
}

TEST_F(ModuleTest, QueriesAndNotificationsKeepTheirDefaults) {
  auto game = module.NewGame();
  EXPECT_EQ(game->QueryA(), 1);
  EXPECT_EQ(game->QueryB(), 0);
  EXPECT_EQ(game->QueryC(), 0);
  EXPECT_EQ(game->QueryD(), 0);
  game->SetPath("x/y.so");
  game->NotifyA();
  game->NotifyB();
  EXPECT_STREQ(game->path, "x/");
  EXPECT_EQ(game->QueryA(), 1);
}

// The folder part of each path, as SetPath stores it. A path without a
// folder gets the system's own separator (Allegro's put_backslash).
TEST_F(ModuleTest, SetPathKeepsTheFolderPartEndingInASeparator) {
  const std::string added(1, OTHER_PATH_SEPARATOR);
  const std::pair<std::string, std::string> cases[] = {
      {"a/b/c.ext", "a/b/"}, {"a/b/", "a/b/"},       {"a/b", "a/"}, {"c.ext", added},
      {"", added},           {"/abs/m.so", "/abs/"}, {"/", "/"},    {"a//b", "a//"},
  };
  for (const auto& [given, stored] : cases) {
    auto game = module.NewGame();
    game->SetPath(given.c_str());
    ASSERT_NE(game->path, nullptr) << given;
    EXPECT_EQ(game->path, stored) << "SetPath(\"" << given << "\")";
  }
}

TEST_F(ModuleTest, SetPathTwiceKeepsOnlyTheSecondFolder) {
  auto game = module.NewGame();
  game->SetPath("first/folder/m.so");
  game->SetPath("second/m.so");
  EXPECT_STREQ(game->path, "second/");
}

TEST_F(ModuleTest, SetPathWithLongPathStoresItWhole) {
  std::string folder(4000, 'd');
  auto game = module.NewGame();
  game->SetPath((folder + "/m.so").c_str());
  EXPECT_EQ(std::string(game->path), folder + "/");
}

TEST_F(ModuleTest, SetPathWithNullLeavesThePathAsItWas) {
  auto game = module.NewGame();
  game->SetPath(nullptr);
  EXPECT_EQ(game->path, nullptr);
  game->SetPath("kept/m.so");
  game->SetPath(nullptr);
  EXPECT_STREQ(game->path, "kept/");
}

TEST_F(ModuleTest, InitStartsWithTheDatafileInTheWorkingFolder) {
  auto game = module.NewGame();
  EXPECT_TRUE(game->Init());
  EXPECT_EQ(game->GetScore(), 0);
  game->Shutdown();
}

TEST_F(ModuleTest, InitFailsWithoutTheDatafileAndShutdownStillStops) {
  auto game = module.NewGame();
  {
    WorkingFolder elsewhere;
    EXPECT_FALSE(game->Init());
    game->Shutdown();
  }
  // The same object starts once the datafile can be found.
  EXPECT_TRUE(game->Init());
  game->Shutdown();
}

TEST_F(ModuleTest, InitFailsOnADatafileThatIsNotOne) {
  WorkingFolder elsewhere;
  elsewhere.PutDatafile("this is not an Allegro datafile");
  auto game = module.NewGame();
  EXPECT_FALSE(game->Init());
  game->Shutdown();
}

// Through IGame alone: play (in real time, as spawns follow the clock) until
// something is shot down; the best score then outlives Shutdown and the next
// Init starts again from 0.
TEST_F(ModuleTest, BestScoreOutlivesShutdownUntilTheNextInit) {
  auto game = module.NewGame();
  ASSERT_TRUE(game->Init());
  {
    Sharpshooter player(*game);
    for (int frame = 0; frame < 3000 && game->GetScore() == 0; ++frame) {
      player.Frame(true);
      rest(2);
    }
  }
  const int32_t best = game->GetScore();
  ASSERT_GT(best, 0) << "nothing was shot down in 3000 frames";
  game->Shutdown();
  EXPECT_EQ(game->GetScore(), best);
  ASSERT_TRUE(game->Init());
  EXPECT_EQ(game->GetScore(), 0);
  game->Shutdown();
}

}  // namespace
