// Molehill as a host sees it: loaded with dlopen, driven through IGame, its
// moles found in the picture it draws, its datafile read as Allegro reads it.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>

#include "Bitmap.h"
#include "Field.h"
#include "GameModule.h"
#include "IGame.h"
#include "WorkingFolder.h"

namespace {

namespace fs = std::filesystem;

constexpr int kScale = kGamePictureWidth / kFieldWidth;

// A player that looks at the picture: a molehill that looks unlike it did in
// the first frame (before any mole) has a mole out. It clicks each new mole
// once, in the middle, one click every other frame.
class MoleSpotter {
 public:
  explicit MoleSpotter(IGame& game) : game_(game) {
    Frame(false);
    blit(picture_.get(), field_.get(), 0, 0, 0, 0, kGamePictureWidth, kGamePictureHeight);
  }

  // One frame, clicking when bonking; answers Update's escape report.
  int32_t Frame(bool bonking) {
    MouseInput mouse{0, 0, 0};
    if (!bonking) news_.clear();
    if (pressed_ || !bonking) {
      pressed_ = false;
    } else if (!news_.empty()) {
      const Hole& hole = kHoles[news_.front()];
      mouse = {hole.x * kScale, (hole.lip - kMoleHeight / 2) * kScale, 1};
      news_.pop_front();
      pressed_ = true;
      ++clicks;
    }
    const int32_t escaped = game_.Update(0, &mouse);
    game_.Draw(picture_.get());
    for (int hole = 0; hole < kHoleCount; ++hole) {
      const bool out = MoleOut(kHoles[hole]);
      if (out && !out_[size_t(hole)] && bonking) news_.push_back(hole);
      out_[size_t(hole)] = out;
    }
    return escaped;
  }

  int clicks = 0;

 private:
  bool MoleOut(const Hole& hole) const {
    for (int y = hole.lip - kMoleHeight + 2; y < hole.lip; y += 3) {
      for (int x = hole.x - 8; x <= hole.x + 8; x += 4) {
        if (getpixel(picture_.get(), x * kScale, y * kScale) !=
            getpixel(field_.get(), x * kScale, y * kScale)) {
          return true;
        }
      }
    }
    return false;
  }

  IGame& game_;
  Bitmap field_{create_bitmap(kGamePictureWidth, kGamePictureHeight)};
  Bitmap picture_{create_bitmap(kGamePictureWidth, kGamePictureHeight)};
  std::array<bool, kHoleCount> out_{};
  std::deque<int> news_;
  bool pressed_ = false;
};

class MolehillTest : public testing::Test {
 protected:
  GameModule module{MOLEHILL_MODULE_PATH};
  std::unique_ptr<IGame> game = module.NewGame();
};

// A host's list shows the project's version and the icon GetIcon names.
TEST_F(MolehillTest, VersionAndIconAreTheBuildsOwn) {
  EXPECT_STREQ(game->GetVersion(), MOLEHILL_VERSION);
  const Bitmap icon(
      load_bitmap((fs::path("games/molehill") / game->GetIcon()).string().c_str(), nullptr));
  ASSERT_NE(icon, nullptr) << "no icon where GetIcon says";
  EXPECT_EQ(icon->w, 32);
  EXPECT_EQ(icon->h, 32);
}

// Without its datafile, with one that is none, and with another game's.
TEST_F(MolehillTest, InitStartsOnlyWithItsOwnDatafile) {
  const std::string flintmoor = ReadFile("games/flintmoor/flintmoor.dat");
  ASSERT_FALSE(flintmoor.empty());
  WorkingFolder elsewhere;
  fs::create_directories("games/molehill");
  for (const std::string& bytes : {std::string(), std::string("not a datafile"), flintmoor}) {
    if (!bytes.empty()) std::ofstream("games/molehill/molehill.dat", std::ios::binary) << bytes;
    EXPECT_FALSE(game->Init()) << bytes.size() << " bytes";
    game->Shutdown();
  }
}

// A player who bonks every mole loses none at the start; one who stops
// loses one, reported in that frame alone, and the run of bonks starts
// again from 0 (GetScore, the best run, keeps the first run's until a
// longer one passes it); the best is kept after Shutdown until the next Init.
TEST_F(MolehillTest, BonkingScoresAndAMoleThatGetsAwayEndsTheRun) {
  ASSERT_TRUE(game->Init());
  MoleSpotter player(*game);
  for (int frame = 0; frame < 3000 && game->GetScore() < 3; ++frame) {
    ASSERT_EQ(player.Frame(true), 0) << "a mole got away at frame " << frame;
  }
  ASSERT_EQ(game->GetScore(), 3);

  int escapes = 0;
  for (int frame = 0; frame < 600 && escapes == 0; ++frame) {
    const int32_t escaped = player.Frame(false);
    ASSERT_TRUE(escaped == 0 || escaped == 1) << escaped;
    escapes += escaped;
  }
  ASSERT_EQ(escapes, 1) << "left alone, no mole got away in 600 frames";
  EXPECT_EQ(player.Frame(false), 0) << "one mole, one escape report";

  const int clicksBefore = player.clicks;
  for (int frame = 0; frame < 3000 && game->GetScore() == 3; ++frame) player.Frame(true);
  EXPECT_EQ(game->GetScore(), 4);
  EXPECT_GE(player.clicks - clicksBefore, 4) << "the run went on from 3 after the escape";

  game->Shutdown();
  EXPECT_EQ(game->GetScore(), 4);
  ASSERT_TRUE(game->Init());
  EXPECT_EQ(game->GetScore(), 0);
  game->Shutdown();
}

// Each sound fades in from silence and out to it (no click as it starts or
// stops) and keeps headroom for others playing over it.
TEST(MolehillSounds, StartAndEndInSilenceWithHeadroom) {
  DATAFILE* data = load_datafile("games/molehill/molehill.dat");
  ASSERT_NE(data, nullptr);
  int samples = 0;
  for (DATAFILE* object = data; object->type != DAT_END; ++object) {
    if (object->type != DAT_SAMPLE) continue;
    ++samples;
    const SAMPLE* sample = static_cast<SAMPLE*>(object->dat);
    ASSERT_EQ(sample->bits, 16);
    const auto* values = static_cast<const uint16_t*>(sample->data);  // offset by 0x8000
    auto level = [&](unsigned long i) { return std::abs(int(values[i]) - 0x8000); };
    int peak = 0;
    for (unsigned long i = 0; i < sample->len; ++i) peak = std::max(peak, level(i));
    // Its last 5 ms are a fade, not a cut.
    const unsigned long fade = static_cast<unsigned long>(sample->freq) / 200;
    int end = 0;
    for (unsigned long i = sample->len - fade; i < sample->len; ++i) end = std::max(end, level(i));
    EXPECT_LT(level(0), peak / 100) << "sample " << samples << " starts with a click";
    EXPECT_LT(end, peak / 10) << "sample " << samples << " stops with a click";
    EXPECT_LT(peak, 32768 / 2) << "sample " << samples << ": less than 6 dB of headroom";
    EXPECT_GT(peak, 32768 / 8) << "sample " << samples << ": hardly heard";
  }
  EXPECT_EQ(samples, 3);
  unload_datafile(data);
}

}  // namespace
