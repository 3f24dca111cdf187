// The game's own datafile, as the build packs it.
#include <allegro.h>
#include <gtest/gtest.h>

#include "Datafiles.h"
#include "WorkingFolder.h"

namespace {

constexpr const char* kDatafile = "games/flintmoor/flintmoor.dat";

TEST(ResourcesTest, FourMaskedPicturesThenAShortSample) {
  DATAFILE* data = load_datafile(kDatafile);
  ASSERT_NE(data, nullptr);
  for (int i = 0; i < 4; ++i) {
    ASSERT_EQ(data[i].type, DAT_BITMAP) << i;
    BITMAP* picture = static_cast<BITMAP*>(data[i].dat);
    EXPECT_EQ(picture->w, 24);
    EXPECT_EQ(picture->h, 24);
    int masked = 0;
    for (int y = 0; y < 24; ++y) {
      for (int x = 0; x < 24; ++x) masked += getpixel(picture, x, y) == bitmap_mask_color(picture);
    }
    EXPECT_GT(masked, 24 * 24 / 4) << "picture " << i << " needs transparent pixels";
    EXPECT_LT(masked, 24 * 24 * 9 / 10) << "picture " << i << " is nearly empty";
  }
  ASSERT_EQ(data[4].type, DAT_SAMPLE);
  SAMPLE* sound = static_cast<SAMPLE*>(data[4].dat);
  EXPECT_GT(sound->len, 0u);
  EXPECT_LT(double(sound->len) / sound->freq, 0.5);
  unload_datafile(data);
}

TEST(ResourcesTest, PackingAgainGivesTheSameBytes) {
  std::string built = ReadFile(kDatafile);
  ASSERT_FALSE(built.empty());
  EXPECT_EQ(PackDatafile(GameObjects()), built);
}

TEST(ResourcesTest, IconIsAPictureAlongsideTheDatafile) {
  BITMAP* icon = load_bitmap("games/flintmoor/icon.bmp", nullptr);
  ASSERT_NE(icon, nullptr);
  EXPECT_GE(icon->w, 16);
  destroy_bitmap(icon);
}

}  // namespace
