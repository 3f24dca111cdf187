#include "Cards.h"

#include <allegro.h>

#include "Bitmap.h"
#include "IGame.h"

#include <cstdio>
#include <vector>

namespace {

constexpr int kWidth = kGamePictureWidth, kHeight = kGamePictureHeight;

// Text in Allegro's 8x8 font, enlarged `size` times, centred on x.
void BigText(BITMAP* picture, const std::string& text, int x, int y, int size, int colour) {
  const int width = text_length(font, text.c_str()), height = text_height(font);
  if (width == 0) return;
  const Bitmap line(create_bitmap(width, height));
  if (line == nullptr) return;
  clear_to_color(line.get(), bitmap_mask_color(line.get()));
  textout_ex(line.get(), font, text.c_str(), 0, 0, colour, -1);
  masked_stretch_blit(line.get(), picture, 0, 0, width, height, x - width * size / 2, y,
                      width * size, height * size);
}

// Words wrapped into lines of at most `columns` characters.
std::vector<std::string> Wrap(const std::string& text, size_t columns) {
  std::vector<std::string> lines(1);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    std::string word = text.substr(start, end - start);
    if (!lines.back().empty() && lines.back().size() + 1 + word.size() > columns) {
      lines.emplace_back();
    }
    lines.back() += (lines.back().empty() ? "" : " ") + word;
    start = end + 1;
  }
  return lines;
}

void Backdrop(BITMAP* picture) {
  // Dusk over the moor: dark blue fading to heather.
  for (int y = 0; y < kHeight; ++y) {
    const int t = y * 255 / (kHeight - 1);
    hline(picture, 0, y, kWidth - 1, makecol(20 + t / 5, 24 + t / 12, 48 + t / 8));
  }
}

const int kLight = 0xF0E8D8, kDim = 0xB0A898, kGold = 0xF0C040, kWarning = 0xF08070;
int Colour(int rgb) {
  return makecol((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

std::string Clock(double seconds) {
  char text[32];
  const long whole = long(seconds);
  std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  return text;
}

}  // namespace

void DrawStartCard(BITMAP* picture, const GameCard& game) {
  Backdrop(picture);
  int y = 32;
  if (game.icon != nullptr) {
    masked_stretch_blit(game.icon, picture, 0, 0, game.icon->w, game.icon->h,
                        kWidth / 2 - game.icon->w * 3 / 2, y, game.icon->w * 3, game.icon->h * 3);
    y += game.icon->h * 3 + 20;
  }
  BigText(picture, game.name, kWidth / 2, y, 5, Colour(kLight));
  y += 52;
  BigText(picture, "version " + game.version, kWidth / 2, y, 1, Colour(kDim));
  y += 20;
  for (const std::string& line : Wrap(game.description, 36)) {
    BigText(picture, line, kWidth / 2, y, 2, Colour(kLight));
    y += 20;
  }
  y += 12;
  BigText(picture, "Record: " + std::to_string(game.record), kWidth / 2, y, 2, Colour(kGold));
  y += 32;
  for (const std::string& line : Wrap(game.rules, 72)) {
    BigText(picture, line, kWidth / 2, y, 1, Colour(kLight));
    y += 14;
  }
  if (!game.note.empty()) BigText(picture, game.note, kWidth / 2, y + 6, 1, Colour(kWarning));
  BigText(picture, "Click to start a round. P pauses, Esc quits.", kWidth / 2, kHeight - 40, 1,
          Colour(kLight));
}

void DrawResultsCard(BITMAP* picture, const GameCard& game, const RoundResult& round) {
  Backdrop(picture);
  int y = 60;
  BigText(picture, round.demo ? "Demo round over" : "Round over", kWidth / 2, y, 4, Colour(kLight));
  y += 64;
  BigText(picture, "Best this round: " + std::to_string(round.best), kWidth / 2, y, 3,
          Colour(kGold));
  y += 36;
  if (round.record) {
    BigText(picture, "A new record!", kWidth / 2, y, 2, Colour(kGold));
  } else {
    BigText(picture, "Record: " + std::to_string(game.record), kWidth / 2, y, 2, Colour(kDim));
  }
  y += 40;
  BigText(picture, "Escapes: " + std::to_string(round.escapes), kWidth / 2, y, 2, Colour(kLight));
  y += 24;
  BigText(picture, "Time played: " + Clock(round.seconds), kWidth / 2, y, 2, Colour(kLight));
  y += 36;
  if (!game.note.empty()) BigText(picture, game.note, kWidth / 2, y, 1, Colour(kWarning));
  BigText(picture, "Click for another round. Esc quits.", kWidth / 2, kHeight - 40, 1,
          Colour(kLight));
}

void DrawPausedCard(BITMAP* picture, BITMAP* lastFrame) {
  blit(lastFrame, picture, 0, 0, 0, 0, kWidth, kHeight);
  set_trans_blender(0, 0, 0, 128);
  drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
  rectfill(picture, 0, 0, kWidth - 1, kHeight - 1, makecol(0, 0, 0));
  solid_mode();
  BigText(picture, "Paused", kWidth / 2, kHeight / 2 - 24, 6, Colour(kLight));
  BigText(picture, "Click or press P to resume", kWidth / 2, kHeight / 2 + 40, 2, Colour(kLight));
}
