// The collection on a stage in memory: which game the keys, the pointer and
// the wheel select (the status line names it), playing it and coming back,
// with real modules; and the list's rows and the text it draws.
#include "Collection.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <memory>

#include "AllegroStart.h"
#include "CollectionFolder.h"
#include "FontText.h"
#include "MemoryStage.h"

namespace {

// The folder and its games, asked before Allegro starts (see main).
std::unique_ptr<CollectionFolder> folder;
std::vector<CatalogEntry> games;

// Where the pointer is over a row of the list in view, in the picture.
MouseInput OverRow(size_t row) {
  for (int y = 0; y < kGamePictureHeight; ++y) {
    size_t under = 0;
    if (RowUnder(320, y, under) && under == row) return MouseInput{320, y + 10, 0};
  }
  return MouseInput{-1, -1, 0};
}

class CollectionTest : public testing::Test {
 protected:
  void SetUp() override { setenv("XDG_DATA_HOME", data_.Path().c_str(), 1); }
  int Run() {
    Records records(Records::Keeping::kKept);
    Collection collection(games, settings_, stage_, hand_, records, nullptr);
    testing::internal::CaptureStdout();
    const int status = collection.Run("");
    testing::internal::GetCapturedStdout();
    return status;
  }
  // What the status line named as selected after the frame, "" on a game's screens.
  std::string SelectedAt(long frame) const {
    const Shown& shown = stage_.shown.at(size_t(frame) - 1);
    return shown.status.right == "Enter plays, Esc quits" ? shown.status.centre : "";
  }

  WorkingFolder data_;
  SessionSettings settings_;
  MemoryStage stage_;
  HandPlayer hand_;
};

TEST_F(CollectionTest, TheKeysChooseAGameAndEnterPlaysItUntilEscBringsTheListBack) {
  hand_.mouse = {-1, -1, 0};  // away from the list
  const std::vector<Key> keys = {Key::kEnd,      Key::kUp,     Key::kHome, Key::kDown,
                                 Key::kPageDown, Key::kPageUp, Key::kEnter};
  long played = 0;
  stage_.person = [&](const Shown& shown) {
    if (shown.frame <= long(keys.size())) stage_.Press(keys[size_t(shown.frame) - 1]);
    if (played == 0 && shown.Says("Click to start a round")) {
      played = shown.frame;
      stage_.Press(Key::kEscape);  // from the game's start screen: back
    }
    if (played != 0 && shown.frame == played + 3) stage_.Press(Key::kEscape);  // quits
  };
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(SelectedAt(1), "Flintmoor") << "Flintmoor first, when none was played before";
  EXPECT_EQ(SelectedAt(2), "Tumbler");
  EXPECT_EQ(SelectedAt(3), "readme.so");
  EXPECT_EQ(SelectedAt(4), "Balloons");
  EXPECT_EQ(SelectedAt(5), "crashes_naming.so");
  EXPECT_EQ(SelectedAt(6), "Tumbler") << "a page down stops at the end";
  EXPECT_EQ(SelectedAt(7), "Balloons");
  ASSERT_GT(played, 0) << "Enter played no game";
  EXPECT_TRUE(stage_.shown[size_t(played) - 1].Says("Balloons"));
  EXPECT_EQ(SelectedAt(played + 1), "Balloons") << "back to the list, where it was";
  EXPECT_EQ(stage_.names.back(), "gamehost");
  EXPECT_EQ(stage_.takenBack, 1) << "the host's Allegro settings put back";

  // The next start selects the game last played.
  stage_.shown.clear();
  stage_.person = [&](const Shown& shown) {
    if (shown.frame == 2) stage_.Press(Key::kEscape);
  };
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(SelectedAt(1), "Balloons");
}

TEST_F(CollectionTest, PointingSelectsAClickPlaysAndTheWheelScrolls) {
  hand_.mouse = OverRow(5);
  long played = 0;
  stage_.person = [&](const Shown& shown) {
    if (shown.frame == 2) hand_.mouse = OverRow(4);  // moved: selects
    if (shown.frame == 4) hand_.mouse = OverRow(2);
    if (shown.frame == 4) hand_.mouse.buttons = 1;
    if (shown.frame == 5) hand_.mouse.buttons = 0;
    if (played == 0 && shown.Says("Click to start a round")) {
      played = shown.frame;
      stage_.Press(Key::kEscape);
    }
    if (played != 0 && shown.frame == played + 2) stage_.Press(Key::kEnd);
    if (played != 0 && shown.frame == played + 3) stage_.Press(Key::kEscape);
  };
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(SelectedAt(1), "Flintmoor") << "the pointer where the list opened selects nothing";
  EXPECT_EQ(SelectedAt(3), "readme.so");
  ASSERT_GT(played, 0);
  EXPECT_TRUE(stage_.shown[size_t(played) - 1].Says("Flintmoor"));

  // With more games than rows, the wheel moves the rows in view.
  CollectionList list(100, kCollectionRows);
  list.Scroll(3);
  EXPECT_EQ(list.Top(), 3u);
  EXPECT_EQ(list.Selected(), 3u) << "the selection stays in view";
  list.Scroll(-10);
  EXPECT_EQ(list.Top(), 0u);
  list.Last();
  EXPECT_EQ(list.Top(), 100 - kCollectionRows);
  size_t game = 0;
  EXPECT_TRUE(list.GameInRow(kCollectionRows - 1, game));
  EXPECT_EQ(game, 99u);
  EXPECT_FALSE(list.GameInRow(kCollectionRows, game));
  EXPECT_FALSE(CollectionList(0, kCollectionRows).GameInRow(0, game));
}

// Names in any bytes reach the screen as characters the font has, and long
// ones end in an ellipsis, never past their room.
TEST(CollectionTextTest, TextIsDrawableAndFitsItsRoom) {
  EXPECT_EQ(Drawable("caf\xe9 \xff\xfe ok"), "caf? ?? ok") << "bytes that are no UTF-8";
  EXPECT_EQ(Drawable("caf\xc3\xa9"), "caf\xc3\xa9") << "Latin-1 letters are in the font";
  EXPECT_EQ(Drawable("\xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x8e\xae"), "?? ?");
  EXPECT_EQ(Drawable("tab\there\n"), "tab?here?");
  EXPECT_EQ(Drawable("\xc0\xaf"), "??") << "an overlong form is no character";
  EXPECT_EQ(Fit("Flintmoor", 9), "Flintmoor");
  EXPECT_EQ(Fit("Flintmoor", 8), "Flint...");
  EXPECT_EQ(Fit("caf\xc3\xa9 au lait", 6), "caf...");
  EXPECT_EQ(Characters(Fit("\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", 4)), 4u);
  EXPECT_EQ(Fit("Flintmoor", 1), "F");
  const std::vector<std::string> lines = Wrap("a bb " + std::string(25, 'c') + " d", 10);
  const std::vector<std::string> expected = {"a bb", "cccccccccc", "cccccccccc", "ccccc d"};
  EXPECT_EQ(lines, expected);
}

}  // namespace

// The games are asked in child processes, which are forks: before this one
// starts Allegro (and its threads).
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  const TemporaryFolder cache;
  setenv("XDG_CACHE_HOME", cache.Path().c_str(), 1);
  folder = std::make_unique<CollectionFolder>();
  games = ReadCatalog({folder->Path()});
  if (!StartAllegroLibrary()) {
    std::fprintf(stderr, "allegro_init failed (no X display?): %s\n", allegro_error);
    return 1;
  }
  set_color_depth(32);
  const int status = RUN_ALL_TESTS();
  folder.reset();
  return status;
}
