#include "Cards.h"

#include <allegro.h>

#include "Bitmap.h"
#include "FontText.h"
#include "IGame.h"

namespace {

constexpr int kWidth = kGamePictureWidth, kHeight = kGamePictureHeight;
constexpr int kMargin = 24;  // left and right of the text
constexpr int kFooterTop = kHeight - 40;
constexpr int kIconScale = 3;

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

void Backdrop(BITMAP* picture) {
  // Dusk over the moor: dark blue fading to heather.
  for (int y = 0; y < kHeight; ++y) {
    const int t = y * 255 / (kHeight - 1);
    hline(picture, 0, y, kWidth - 1, makecol(20 + t / 5, 24 + t / 12, 48 + t / 8));
  }
}

void Dimmed(BITMAP* picture, BITMAP* frame) {
  blit(frame, picture, 0, 0, 0, 0, kWidth, kHeight);
  set_trans_blender(0, 0, 0, 128);
  drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
  rectfill(picture, 0, 0, kWidth - 1, kHeight - 1, makecol(0, 0, 0));
  solid_mode();
}

int Colour(Tone tone) {
  switch (tone) {
    case Tone::kLight:
      return makecol(0xF0, 0xE8, 0xD8);
    case Tone::kDim:
      return makecol(0xB0, 0xA8, 0x98);
    case Tone::kGold:
      return makecol(0xF0, 0xC0, 0x40);
    case Tone::kWarning:
      return makecol(0xF0, 0x80, 0x70);
  }
  return 0;
}

}  // namespace

void DrawCard(BITMAP* picture, const Card& card) {
  if (card.dimmedFrame != nullptr) {
    Dimmed(picture, card.dimmedFrame);
  } else {
    Backdrop(picture);
  }
  int y = card.top;
  if (card.icon != nullptr) {
    const int w = card.icon->w * kIconScale, h = card.icon->h * kIconScale;
    masked_stretch_blit(card.icon, picture, 0, 0, card.icon->w, card.icon->h, kWidth / 2 - w / 2, y,
                        w, h);
    y += h + 20;
  }
  const int lineHeight = text_height(font);
  for (const CardLine& line : card.lines) {
    const size_t columns = size_t((kWidth - 2 * kMargin) / (text_length(font, " ") * line.size));
    for (const std::string& part : Wrap(Drawable(line.text), columns)) {
      BigText(picture, part, kWidth / 2, y, line.size, Colour(line.tone));
      y += lineHeight * line.size + line.size * 2;
    }
    y += line.gapAfter;
  }
  if (!card.footer.empty()) {
    BigText(picture, Fit(Drawable(card.footer), size_t(kWidth - 2 * kMargin) / 8), kWidth / 2,
            kFooterTop, 1, Colour(Tone::kLight));
  }
}
