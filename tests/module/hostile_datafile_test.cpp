// Bad resource files, made here: each either makes Init answer false or
// gives a game that runs safely, never a crash; and a good start follows.
// Every case runs in a child process so one crash can't hide the others.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdio>
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

struct NamedBytes {
  std::string what;
  std::string bytes;
};

// Each file in turn, in one child that names each before it starts it (so a
// crash shows which) and names the one that started a game.
[[noreturn]] void RefuseEach(const std::vector<NamedBytes>& files) {
  for (const NamedBytes& file : files) {
    std::fprintf(stderr, "%s\n", file.what.c_str());
    WorkingFolder elsewhere;
    elsewhere.PutDatafile(file.bytes);
    GameModule module{FLINTMOOR_MODULE_PATH};
    auto game = module.NewGame();
    bool started = game->Init();
    game->Shutdown();
    if (started) {
      std::fprintf(stderr, "started on: %s\n", file.what.c_str());
      std::exit(1);
    }
  }
  std::exit(kRefused);
}

// Every cut of the file at the given lengths.
[[noreturn]] void RefuseEveryCut(const std::string& whole, const std::vector<size_t>& lengths) {
  std::vector<NamedBytes> cuts;
  cuts.reserve(lengths.size());
  for (size_t length : lengths) {
    cuts.push_back({"cut to " + std::to_string(length), whole.substr(0, length)});
  }
  RefuseEach(cuts);
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
  for (int i = 0; i < 4; ++i) wrongSize[i] = {"icon.bmp", "BMP"};
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
  objects.push_back({"icon.bmp", "BMP"});
  objects.push_back(objects[4]);
  std::string bytes = PackDatafile(objects);
  EXPECT_EXIT(StartOn(&bytes), testing::ExitedWithCode(kRanSafely), "");
}

// Hand-made files shaped like the game's: four 24x24 pictures, a sound.
std::string GamePictures(int16_t depth = 32) {
  std::string pictures;
  for (int i = 0; i < 4; ++i) {
    pictures += Property("NAME", "PICTURE") + Object("BMP ", BitmapBody(depth, 24, 24));
  }
  return pictures;
}
std::string GameSound() {
  return Object("SAMP", SampleBody(16, 22050, 100));
}
std::string GameLike(const std::string& extra = "", uint32_t extras = 0) {
  return Datafile(5 + extras, GamePictures() + GameSound() + extra);
}

// What the checks let through beyond dat's own files: every picture depth
// the loader converts, packed objects, a packed whole file, extra objects.
TEST_F(HostileDatafileTest, HandMadeDatafilesOfTheGamesShapeStart) {
  std::string packedObjects;
  for (int i = 0; i < 4; ++i) packedObjects += PackedObject("BMP ", BitmapBody(32, 24, 24));
  packedObjects += PackedObject("SAMP", SampleBody(-8, 8000, 300));
  const NamedBytes files[] = {
      {"plain", GameLike()},
      {"8-bit pictures", Datafile(5, GamePictures(8) + GameSound())},
      {"15-bit pictures", Datafile(5, GamePictures(15) + GameSound())},
      {"16-bit pictures", Datafile(5, GamePictures(16) + GameSound())},
      {"24-bit pictures", Datafile(5, GamePictures(24) + GameSound())},
      {"pictures with alpha", Datafile(5, GamePictures(-32) + GameSound())},
      {"packed objects", Datafile(5, packedObjects)},
      {"packed file", "slh!" + Packed("ALL." + Long(5) + GamePictures() + GameSound())},
      {"an extra 256x256 picture and sample",
       GameLike(Object("BMP ", BitmapBody(8, 256, 256)) + GameSound(), 2)},
  };
  for (const NamedBytes& file : files) {
    EXPECT_EXIT(StartOn(&file.bytes), testing::ExitedWithCode(kRanSafely), "") << file.what;
  }
}

// Objects Allegro's loader mishandles: it calls a null function for a type
// it has no loader for, frees a datafile twice when an object in it fails,
// wraps a bitmap's byte size, crashes unloading a font without ranges and
// writes past an empty RLE sprite. The game needs none of them.
TEST_F(HostileDatafileTest, ObjectsAllegroMishandlesAreRefused) {
  std::vector<DatObject> withSprite = GameObjects();
  withSprite.push_back({"hit0.bmp", "RLE"});
  std::vector<DatObject> withPalette = GameObjects();
  withPalette.push_back({"hit0.bmp", "PAL"});
  const std::string failingInside = Long(1) + Object("SAMP", SampleBody(16, 22050, 0x7FFFFFFF, 0));
  EXPECT_EXIT(
      RefuseEach({
          {"type with no loader", GameLike(Object("\xFF\xFF\xFF\xFF", "body"), 1)},
          {"nested datafile whose object fails", GameLike(Object("FILE", failingInside), 1)},
          {"bitmap whose byte size wraps",
           GameLike(Object("BMP ", BitmapBody(8, 65535, 65535, 64)), 1)},
          {"font without ranges", GameLike(Object("FONT", Word(0) + Word(0)), 1)},
          {"empty RLE sprite", GameLike(Object("RLE ", Word(32) + Word(0) + Word(0) + Long(0)), 1)},
          {"RLE sprite made by dat", PackDatafile(withSprite)},
          {"palette made by dat", PackDatafile(withPalette)},
      }),
      testing::ExitedWithCode(kRefused), "");
}

// Each object has two sizes: the one stored in the file and the one the
// loader reads. Where they differ, payload becomes headers to the loader.
TEST_F(HostileDatafileTest, ObjectSizesThatDisagreeAreRefused) {
  const std::string picture = BitmapBody(32, 24, 24);
  const uint32_t size = uint32_t(picture.size());
  const std::string packed = Packed(picture);
  const uint32_t packedSize = uint32_t(packed.size());
  EXPECT_EXIT(
      RefuseEach({
          {"loaded size 0", GameLike(Object("BMP ", size, 0, picture), 1)},
          {"stored size 0", GameLike(Object("BMP ", 0, size, picture), 1)},
          {"loaded size smaller", GameLike(Object("BMP ", size, size - 3, picture), 1)},
          {"packed, stored size past the packed bytes",
           GameLike(Object("BMP ", packedSize + 1, uint32_t(-int32_t(size)), packed + "x"), 1)},
          {"packed, stored size short of them",
           GameLike(Object("BMP ", packedSize - 1, uint32_t(-int32_t(size)), packed), 1)},
          {"packed, loaded size -2^31", GameLike(Object("BMP ", 0, 0x80000000u, ""), 1)},
          {"property of size -1", GameLike("prop" + std::string("NAME") + Long(~0u), 1)},
          {"property of type DAT_END",
           GameLike(Property("\xFF\xFF\xFF\xFF", "X") + GameSound(), 1)},
          {"property of 256 bytes",
           GameLike(Property("NAME", std::string(256, 'A')) + GameSound(), 1)},
          {"property that isn't text", GameLike(Property("NAME", "A\nB") + GameSound(), 1)},
          {"nine properties", GameLike(
                                  std::string() +
                                      [] {
                                        std::string properties;
                                        for (int i = 0; i < 9; ++i)
                                          properties += Property("NAME", "A");
                                        return properties;
                                      }() +
                                      GameSound(),
                                  1)},
          {"count past the objects", GameLike("", 1)},
          {"count -1", Datafile(~0u, GamePictures() + GameSound())},
          {"17 objects", GameLike(
                             [] {
                               std::string sounds;
                               for (int i = 0; i < 12; ++i) sounds += GameSound();
                               return sounds;
                             }(),
                             12)},
      }),
      testing::ExitedWithCode(kRefused), "");
}

// Inside packed data the same rules hold, and unpacking is bounded: a check
// that never looked there let through any count, size and nesting depth.
TEST_F(HostileDatafileTest, PackedContentIsCheckedAndBounded) {
  std::string deep = Long(1) + Object("BMP ", BitmapBody(32, 1, 1));
  for (int level = 0; level < 10000; ++level) deep = Long(1) + Object("FILE", deep);
  EXPECT_EXIT(
      RefuseEach({
          {"packed huge bitmap header",
           GameLike(PackedObject("BMP ", BitmapBody(32, 23170, 23170, 0)), 1)},
          {"packed property of size -1",
           "slh!" + Packed("ALL." + Long(6) + GamePictures() + GameSound() + "prop" + "NAME" +
                           Long(~0u))},
          {"packed count of 2^30", "slh!" + Packed("ALL." + Long(1u << 30) + GamePictures())},
          {"nested 10000 deep in a packed file", "slh!" + Packed("ALL." + deep)},
          {"object unpacking to 2^30 bytes",
           GameLike(Object("BMP ", 17, uint32_t(-(1 << 30)), PackedZeros(8)), 1)},
          {"object unpacking short of its size",
           GameLike(Object("BMP ", 9, uint32_t(-1000), Packed("12345678")), 1)},
          {"whole file unpacking past 4 MB", "slh!" + PackedZeros(40000)},
          {"copy from window bytes never set",
           GameLike(Object("BMP ", 3, uint32_t(-3), std::string{'\0', '\xFA', '\xF0'}), 1)},
          {"other packfile header", "slh?" + GameLike().substr(4)},
      }),
      testing::ExitedWithCode(kRefused), "");
}

// Sizes inside object bodies ask the loader for gigabytes and seconds.
TEST_F(HostileDatafileTest, HugeSizesInObjectBodiesAreRefused) {
  EXPECT_EXIT(
      RefuseEach({
          {"sample of 2^30 frames",
           GameLike(Object("SAMP", SampleBody(16, 22050, 1u << 30, 16)), 1)},
          {"8-bit stereo sample of 2^30 frames",
           GameLike(Object("SAMP", SampleBody(-8, 22050, 1u << 30, 16)), 1)},
          {"sample of 2^20 + 1 frames, all there",
           GameLike(Object("SAMP", SampleBody(8, 22050, (1u << 20) + 1)), 1)},
          {"16384x16384 bitmap", GameLike(Object("BMP ", BitmapBody(32, 16384, 16384, 64)), 1)},
          {"23170x23170 bitmap", GameLike(Object("BMP ", BitmapBody(32, 23170, 23170, 64)), 1)},
          {"257x1 bitmap, all there", GameLike(Object("BMP ", BitmapBody(32, 257, 1)), 1)},
          {"12-bit sample", GameLike(Object("SAMP", SampleBody(12, 22050, 10, 20)), 1)},
          {"sample at 0 Hz", GameLike(Object("SAMP", SampleBody(16, 0, 10)), 1)},
          {"empty sample", GameLike(Object("SAMP", SampleBody(16, 22050, 0)), 1)},
      }),
      testing::ExitedWithCode(kRefused), "");
}

// A picture of depth 0 has the right type and size but no pixels the sprite
// routines can read; nor has one the loader leaves in another depth.
TEST_F(HostileDatafileTest, PicturesOfNoOrAnotherDepthAreRefused) {
  EXPECT_EXIT(RefuseEach({
                  {"depth 0", Datafile(5, GamePictures(0) + GameSound())},
                  {"depth 4", Datafile(5, GamePictures(4) + GameSound())},
                  {"depth -24", Datafile(5, GamePictures(-24) + GameSound())},
              }),
              testing::ExitedWithCode(kRefused), "");
  // With colour conversion off, the loader keeps 8-bit pictures as they are.
  const std::string eightBit = Datafile(5, GamePictures(8) + GameSound());
  EXPECT_EXIT(
      {
        set_color_conversion(COLORCONV_NONE);
        StartOn(&eightBit);
      },
      testing::ExitedWithCode(kRefused), "");
}

}  // namespace
