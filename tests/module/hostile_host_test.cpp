// A host that feeds the module odd input or breaks its calling order must
// not be able to crash it.
#include <allegro.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <functional>
#include <random>

#include "GameModule.h"
#include "WorkingFolder.h"

namespace {

class HostileHostTest : public testing::Test {
 protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
  void TearDown() override { destroy_bitmap(picture); }

  int32_t Frame(IGame& game, int32_t x, int32_t y, int32_t buttons) {
    MouseInput mouse{x, y, buttons};
    int32_t escaped = game.Update(0, &mouse);
    game.Draw(picture);
    return escaped;
  }

  GameModule module{FLINTMOOR_MODULE_PATH};
  BITMAP* picture = create_bitmap(640, 480);
};

TEST_F(HostileHostTest, MouseAtTheExtremesAndAtRandomIsSafe) {
  auto game = module.NewGame();
  ASSERT_TRUE(game->Init());
  const int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, -641, -1, 0, 1, 639, 640, INT32_MAX};
  for (int32_t x : extremes) {
    for (int32_t y : extremes) {
      for (int32_t buttons : {0, 1, -1, INT32_MIN, INT32_MAX}) {
        int32_t escaped = Frame(*game, x, y, buttons);
        ASSERT_TRUE(escaped == 0 || escaped == 1);
      }
    }
  }
  std::mt19937 random(1208);
  for (int frame = 0; frame < 20000; ++frame) {
    int32_t escaped = Frame(*game, int32_t(random()), int32_t(random()), int32_t(random() % 3));
    ASSERT_TRUE(escaped == 0 || escaped == 1);
    ASSERT_GE(game->GetScore(), 0);
  }
  game->Shutdown();
}

TEST_F(HostileHostTest, ButtonHeldForThousandsOfFramesIsOneClick) {
  auto game = module.NewGame();
  ASSERT_TRUE(game->Init());
  for (int frame = 0; frame < 10000; ++frame) Frame(*game, 320, 240, 1);
  // The one click came before any target was in the sky.
  EXPECT_EQ(game->GetScore(), 0);
  game->Shutdown();
}

// The picture is clipped to a small destination; nothing lands beside it.
TEST_F(HostileHostTest, SmallDestinationIsClippedToItself) {
  auto game = module.NewGame();
  ASSERT_TRUE(game->Init());
  BITMAP* surroundings = create_bitmap(800, 600);
  const int untouched = makecol(255, 0, 0);
  for (auto [w, h] : {std::pair{200, 150}, {1, 1}, {639, 479}}) {
    clear_to_color(surroundings, untouched);
    BITMAP* destination = create_sub_bitmap(surroundings, 100, 100, w, h);
    game->Draw(destination);
    destroy_bitmap(destination);
    int changedInside = 0;
    for (int y = 0; y < 600; ++y) {
      for (int x = 0; x < 800; ++x) {
        bool inside = x >= 100 && x < 100 + w && y >= 100 && y < 100 + h;
        bool changed = getpixel(surroundings, x, y) != untouched;
        if (inside) changedInside += changed;
        ASSERT_TRUE(inside || !changed)
            << "wrote (" << x << ", " << y << ") beside " << w << "x" << h;
      }
    }
    EXPECT_EQ(changedInside, w * h) << w << "x" << h;
  }
  destroy_bitmap(surroundings);
  game->Shutdown();
}

// Runs a host's misuse in a child process; it exits 0 when every check held.
void ExpectSafe(const char* what, const std::function<bool(GameModule&, BITMAP*)>& misuse) {
  EXPECT_EXIT(
      {
        GameModule module{FLINTMOOR_MODULE_PATH};
        BITMAP* picture = create_bitmap(640, 480);
        std::exit(misuse(module, picture) ? 0 : 1);
      },
      testing::ExitedWithCode(0), "")
      << what;
}

// Update answers 0 and Draw leaves the destination as it was.
bool DoesNothing(IGame& game, BITMAP* picture) {
  const int marker = makecol(1, 2, 3);
  clear_to_color(picture, marker);
  MouseInput mouse{100, 100, 1};
  bool quiet = game.Update(0, &mouse) == 0;
  game.Draw(picture);
  return quiet && getpixel(picture, 0, 0) == marker && getpixel(picture, 639, 479) == marker;
}

TEST_F(HostileHostTest, FrameCallsOutsideAStartedGameDoNothing) {
  ExpectSafe("before Init", [](GameModule& module, BITMAP* picture) {
    auto game = module.NewGame();
    return DoesNothing(*game, picture) && game->GetScore() == 0;
  });
  ExpectSafe("after a failed Init", [](GameModule& module, BITMAP* picture) {
    auto game = module.NewGame();
    WorkingFolder elsewhere;
    bool started = game->Init();
    bool nothing = DoesNothing(*game, picture);
    game->Shutdown();
    return !started && nothing && DoesNothing(*game, picture);
  });
  ExpectSafe("after Shutdown", [](GameModule& module, BITMAP* picture) {
    auto game = module.NewGame();
    bool started = game->Init();
    game->Shutdown();
    return started && DoesNothing(*game, picture);
  });
}

TEST_F(HostileHostTest, RepeatedOrMissingShutdownsAreSafe) {
  ExpectSafe("Shutdown before Init, and twice", [](GameModule& module, BITMAP*) {
    auto game = module.NewGame();
    game->Shutdown();
    bool started = game->Init();
    game->Shutdown();
    game->Shutdown();
    return started;
  });
  ExpectSafe("Init twice without Shutdown", [](GameModule& module, BITMAP* picture) {
    auto game = module.NewGame();
    bool first = game->Init();
    bool second = game->Init();
    MouseInput mouse{0, 0, 0};
    game->Update(0, &mouse);
    game->Draw(picture);
    game->Shutdown();
    return first && second;
  });
  ExpectSafe("Shutdown right after a failed Init, then a good Init",
             [](GameModule& module, BITMAP* picture) {
               auto game = module.NewGame();
               bool failed;
               {
                 WorkingFolder elsewhere;
                 failed = !game->Init();
                 game->Shutdown();
               }
               bool started = game->Init();
               MouseInput mouse{0, 0, 0};
               game->Update(0, &mouse);
               game->Draw(picture);
               game->Shutdown();
               return failed && started;
             });
}

}  // namespace
