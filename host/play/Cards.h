// The host's own screens, 640x480 like a game's picture: what each says (a
// Card: lines of text in a few sizes and tones, over the moor at dusk or a
// game's last picture dimmed), and how a card is drawn.
#ifndef FLINTMOOR_HOST_CARDS_H
#define FLINTMOOR_HOST_CARDS_H

#include <string>
#include <vector>

struct BITMAP;

enum class Tone { kLight, kDim, kGold, kWarning };

struct CardLine {
  std::string text;  // wrapped to the picture's width where it is longer
  int size = 1;      // times the 8-pixel font
  Tone tone = Tone::kLight;
  int gapAfter = 8;  // pixels before the next line
};

struct Card {
  BITMAP* icon = nullptr;         // shown large above the lines, or null
  BITMAP* dimmedFrame = nullptr;  // the background, dimmed; null: the moor at dusk
  int top = 32;                   // where the first line starts
  std::vector<CardLine> lines;
  std::string footer;  // at the bottom: what a click or a key does now
};

// Paints the card over the whole 640x480 picture.
void DrawCard(BITMAP* picture, const Card& card);

#endif
