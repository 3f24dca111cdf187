#include "CollectionPicture.h"

#include <allegro.h>

#include "FontText.h"
#include "IGame.h"

namespace {

constexpr int kWidth = kGamePictureWidth, kHeight = kGamePictureHeight;
constexpr int kGlyph = 8;  // the font's characters are 8x8
constexpr int kMargin = 12;
constexpr int kListTop = 44, kRowHeight = 50;
constexpr int kIconSize = 32;
constexpr int kTextLeft = kMargin + kIconSize + 12;
constexpr int kRecordWidth = 16 * kGlyph;  // "Record unknown" and room
constexpr int kDescriptionTop = kListTop + int(kCollectionRows) * kRowHeight + 10;
constexpr int kDescriptionLine = 12;

int Rgb(int r, int g, int b) {
  return makecol(r, g, b);
}

// Text in the 8x8 font, `size` times as large, its top left at (x, y),
// fitted to `columns` characters.
void Text(BITMAP* picture, const std::string& text, int x, int y, int size, int colour,
          size_t columns) {
  const std::string shown = Fit(Drawable(text), columns);
  if (size == 1) {
    textout_ex(picture, font, shown.c_str(), x, y, colour, -1);
    return;
  }
  const int width = text_length(font, shown.c_str()), height = text_height(font);
  if (width == 0) return;
  BITMAP* line = create_bitmap(width, height);
  if (line == nullptr) return;
  clear_to_color(line, bitmap_mask_color(line));
  textout_ex(line, font, shown.c_str(), 0, 0, colour, -1);
  masked_stretch_blit(line, picture, 0, 0, width, height, x, y, width * size, height * size);
  destroy_bitmap(line);
}

size_t Columns(int width, int size) {
  return size_t(width / (kGlyph * size));
}

void Backdrop(BITMAP* picture) {
  // The moor at night, darker than the games' own screens.
  for (int y = 0; y < kHeight; ++y) {
    const int t = y * 255 / (kHeight - 1);
    hline(picture, 0, y, kWidth - 1, Rgb(14 + t / 8, 18 + t / 16, 36 + t / 10));
  }
}

// The game's icon, or where it has none a tile with its first letter.
void Icon(BITMAP* picture, const CollectionRow& row, int x, int y, bool playable) {
  if (row.icon != nullptr) {
    masked_stretch_blit(row.icon, picture, 0, 0, row.icon->w, row.icon->h, x, y, kIconSize,
                        kIconSize);
    return;
  }
  rectfill(picture, x, y, x + kIconSize - 1, y + kIconSize - 1,
           playable ? Rgb(70, 90, 120) : Rgb(50, 50, 56));
  rect(picture, x, y, x + kIconSize - 1, y + kIconSize - 1, Rgb(150, 160, 180));
  const std::string letter = Fit(Drawable(row.title), 1);
  Text(picture, letter.empty() ? "?" : letter, x + 8, y + 8, 2, Rgb(230, 230, 220), 1);
}

void Row(BITMAP* picture, const CollectionRow& row, int top, bool selected) {
  const bool playable = row.problem.empty();
  if (selected) {
    rectfill(picture, kMargin / 2, top + 1, kWidth - kMargin / 2, top + kRowHeight - 2,
             Rgb(60, 70, 100));
    rect(picture, kMargin / 2, top + 1, kWidth - kMargin / 2, top + kRowHeight - 2,
         Rgb(240, 200, 90));
  }
  Icon(picture, row, kMargin, top + (kRowHeight - kIconSize) / 2, playable);
  const int light = playable ? Rgb(240, 232, 216) : Rgb(130, 126, 120);
  const int dim = playable ? Rgb(176, 168, 152) : Rgb(110, 106, 100);
  const int textWidth = kWidth - kTextLeft - kRecordWidth - kMargin;
  Text(picture, row.title, kTextLeft, top + 8, 2, light, Columns(textWidth, 2));
  if (playable) {
    Text(picture, row.byline, kTextLeft, top + 32, 1, dim, Columns(textWidth, 1));
    Text(picture, row.record, kWidth - kMargin - kRecordWidth, top + 12, 1, Rgb(240, 192, 64),
         Columns(kRecordWidth, 1));
  } else {
    Text(picture, "can't be played: " + row.problem, kTextLeft, top + 32, 1, Rgb(240, 128, 112),
         Columns(kWidth - kTextLeft - kMargin, 1));
  }
}

// Where the list goes on beyond the rows in view, a bar says how far.
void ScrollBar(BITMAP* picture, const CollectionList& list) {
  if (list.Games() <= list.Rows()) return;
  const int height = int(kCollectionRows) * kRowHeight, x = kWidth - 5;
  const int top = kListTop + int(list.Top() * size_t(height) / list.Games());
  const int length = int(list.Rows() * size_t(height) / list.Games());
  rectfill(picture, x, kListTop, x + 2, kListTop + height - 1, Rgb(40, 44, 60));
  rectfill(picture, x, top, x + 2, top + length - 1, Rgb(170, 170, 190));
}

// The selected game, named again over its whole description.
void Description(BITMAP* picture, const CollectionRow& row, const std::string& text) {
  hline(picture, kMargin, kDescriptionTop - 6, kWidth - kMargin, Rgb(90, 90, 110));
  const size_t columns = Columns(kWidth - 2 * kMargin, 1);
  Text(picture, row.title, kMargin, kDescriptionTop + 2, 2, Rgb(240, 232, 216),
       Columns(kWidth - 2 * kMargin, 2));
  const int top = kDescriptionTop + 26;
  const size_t most = size_t((kHeight - top) / kDescriptionLine);
  std::vector<std::string> lines = Wrap(Drawable(text), columns);
  if (lines.size() > most) {
    lines.resize(most);
    // The whole of it does not fit: its last line in view says so.
    lines.back() = Fit(lines.back() + " ...", columns);
  }
  int y = top;
  for (const std::string& line : lines) {
    textout_ex(picture, font, line.c_str(), kMargin, y, Rgb(220, 214, 200), -1);
    y += kDescriptionLine;
  }
}

}  // namespace

void DrawCollection(BITMAP* picture, const CollectionView& view) {
  Backdrop(picture);
  Text(picture, "Games", kMargin, 8, 3, Rgb(240, 232, 216), 10);
  if (!view.note.empty()) {
    Text(picture, view.note, kMargin + 6 * 3 * kGlyph, 16, 1, Rgb(240, 128, 112),
         Columns(kWidth - 2 * kMargin - 6 * 3 * kGlyph, 1));
  }
  if (view.rows.empty() || view.list == nullptr) {
    int y = kListTop + 40;
    for (const std::string& line : Wrap(Drawable(view.empty), Columns(kWidth - 2 * kMargin, 1))) {
      textout_ex(picture, font, line.c_str(), kMargin, y, Rgb(220, 214, 200), -1);
      y += kDescriptionLine;
    }
    return;
  }
  const CollectionList& list = *view.list;
  for (size_t row = 0; row < list.Rows(); ++row) {
    size_t game = 0;
    if (!list.GameInRow(row, game)) break;
    Row(picture, view.rows[game], kListTop + int(row) * kRowHeight, game == list.Selected());
  }
  ScrollBar(picture, list);
  Description(picture, view.rows[list.Selected()], view.description);
}

bool RowUnder(int x, int y, size_t& row) {
  if (x < 0 || x >= kWidth || y < kListTop) return false;
  const int index = (y - kListTop) / kRowHeight;
  if (index >= int(kCollectionRows)) return false;
  row = size_t(index);
  return true;
}
