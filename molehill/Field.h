// Molehill's field: its size and where the molehills are, in field pixels
// (the 320x240 picture that Draw shows doubled). The rules, the drawing and
// the tests all place moles by it.
#ifndef MOLEHILL_FIELD_H
#define MOLEHILL_FIELD_H

#include <cstdint>

constexpr int32_t kFieldWidth = 320;
constexpr int32_t kFieldHeight = 240;

// A mole's picture: it rises out of its hole until its bottom row stands on
// the hole's lip.
constexpr int32_t kMoleWidth = 28;
constexpr int32_t kMoleHeight = 26;

// One molehill: the column of its middle and the row of its hole's front lip,
// the first row a mole never shows in.
struct Hole {
  int32_t x;
  int32_t lip;
};

// Three rows of three, the back row first, so nearer moles are drawn later.
constexpr int kHoleCount = 9;
constexpr Hole kHoles[kHoleCount] = {
    {64, 100},  {160, 100}, {256, 100}, {64, 152},  {160, 152},
    {256, 152}, {64, 204},  {160, 204}, {256, 204},
};

// Where a click bonks the hole's mole: its picture when all of it is up,
// and the crumbs of the lip below it.
constexpr int32_t kLipGrace = 4;
inline bool InBonkReach(const Hole& hole, int32_t x, int32_t y) {
  return x >= hole.x - kMoleWidth / 2 && x < hole.x + kMoleWidth / 2 &&
         y >= hole.lip - kMoleHeight && y < hole.lip + kLipGrace;
}

#endif
