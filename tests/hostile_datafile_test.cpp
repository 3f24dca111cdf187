// Bad resource files, made here: each either makes Init answer false or
// gives a game that runs safely, never a crash; and a good start follows.
// Every case runs in a child process so one crash can't hide the others.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "Datafiles.h"
#include "GameModule.h"
#include "WorkingFolder.h"

namespace {

enum Outcome { kRefused = 10, kRanSafely = 11 };

// In the child: start a game on the bytes (or on no file at all), play a
// little if it started, stop, then start properly from the build folder.
[[noreturn]] void StartOn(const std::string* bytes) {
  GameModule module{FLINTMOOR_MODULE_PATH};
  auto game = module.NewGame();
  bool started;
  {
    WorkingFolder elsewhere;
    if (bytes != nullptr) elsewhere.PutDatafile(*bytes);
    started = game->Init();
    BITMAP* picture = create_bitmap(640, 480);
    for (int frame = 0; started && frame < 50; ++frame) {
      MouseInput mouse{frame * 12, frame * 9, frame % 2};
      game->Update(0, &mouse);
      game->Draw(picture);
    }
    destroy_bitmap(picture);
    game->Shutdown();
  }
  if (!game->Init()) std::exit(1);  // the good datafile must still work
  game->Shutdown();
  std::exit(started ? kRanSafely : kRefused);
}

std::string RandomBytes(unsigned seed, size_t size) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = char(random());
  return bytes;
}

class HostileDatafileTest : public testing::Test {
 protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
  std::string real = ReadFile("games/flintmoor/flintmoor.dat");
};

TEST_F(HostileDatafileTest, MissingEmptyAndRandomFilesAreRefused) {
  EXPECT_EXIT(StartOn(nullptr), testing::ExitedWithCode(kRefused), "") << "missing";
  std::string empty;
  EXPECT_EXIT(StartOn(&empty), testing::ExitedWithCode(kRefused), "") << "empty";
  for (unsigned seed = 1; seed <= 4; ++seed) {
    std::string noise = RandomBytes(seed, 64 << seed);
    EXPECT_EXIT(StartOn(&noise), testing::ExitedWithCode(kRefused), "") << "random " << seed;
  }
  // Random bytes behind the datafile's own signature.
  std::string signed_ = real.substr(0, 8) + RandomBytes(9, 4000);
  EXPECT_EXIT(StartOn(&signed_), testing::ExitedWithCode(kRefused), "") << "signed noise";
}

// Every cut of the file, run in one child that names the length that
// started a game.
[[noreturn]] void RefuseEveryCut(const std::string& whole, const std::vector<size_t>& lengths) {
  for (size_t length : lengths) {
    WorkingFolder elsewhere;
    elsewhere.PutDatafile(whole.substr(0, length));
    GameModule module{FLINTMOOR_MODULE_PATH};
    auto game = module.NewGame();
    bool started = game->Init();
    game->Shutdown();
    if (started) {
      std::fprintf(stderr, "started on %zu bytes\n", length);
      std::exit(1);
    }
  }
  std::exit(kRefused);
}

TEST_F(HostileDatafileTest, TruncatedDatafilesAreRefused) {
  ASSERT_GT(real.size(), 1000u);
  // Cut everywhere near the object boundaries and at steps in between.
  std::vector<size_t> lengths;
  for (size_t length = 1; length < real.size(); length += length < 64 ? 1 : 37) {
    lengths.push_back(length);
  }
  lengths.push_back(real.size() - 1);
  EXPECT_EXIT(RefuseEveryCut(real, lengths), testing::ExitedWithCode(kRefused), "");
}

// Compressed datafiles, whole or by object, start; cut short, they don't.
TEST_F(HostileDatafileTest, CompressedDatafilesStartWholeAndAreRefusedCut) {
  for (const char* compression : {"-c1", "-c2"}) {
    std::string packed = PackDatafile(GameObjects(), compression);
    EXPECT_EXIT(StartOn(&packed), testing::ExitedWithCode(kRanSafely), "") << compression;
    std::vector<size_t> lengths;
    for (size_t length = 1; length < packed.size(); length += 23) lengths.push_back(length);
    EXPECT_EXIT(RefuseEveryCut(packed, lengths), testing::ExitedWithCode(kRefused), "")
        << compression;
  }
}

TEST_F(HostileDatafileTest, DatafilesWithTheWrongObjectsAreRefused) {
  std::vector<DatObject> all = GameObjects();
  struct Case {
    const char* what;
    std::vector<DatObject> objects;
  };
  std::vector<DatObject> swapped = all, wrongSize = all, allSounds(5, all[4]);
  std::swap(swapped[0], swapped[4]);
  for (int i = 0; i < 4; ++i) wrongSize[i] = {"../icon.bmp", "BMP"};
  const Case cases[] = {
      {"four objects", {all.begin(), all.begin() + 4}},
      {"one object", {all[0]}},
      {"sample first, bitmap last", swapped},
      {"32x32 pictures", wrongSize},
      {"only samples", allSounds},
  };
  for (const Case& c : cases) {
    std::string bytes = PackDatafile(c.objects);
    EXPECT_EXIT(StartOn(&bytes), testing::ExitedWithCode(kRefused), "") << c.what;
  }
}

TEST_F(HostileDatafileTest, ExtraObjectsAfterTheFiveRunSafely) {
  std::vector<DatObject> objects = GameObjects();
  objects.push_back({"../icon.bmp", "BMP"});
  objects.push_back(objects[4]);
  std::string bytes = PackDatafile(objects);
  EXPECT_EXIT(StartOn(&bytes), testing::ExitedWithCode(kRanSafely), "");
}

}  // namespace
