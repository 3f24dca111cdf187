// The host's own pictures, 640x480 like a game's: the start screen, a
// round's results, and the paused game.
#ifndef FLINTMOOR_HOST_CARDS_H
#define FLINTMOOR_HOST_CARDS_H

#include <cstdint>
#include <string>

struct BITMAP;

struct GameCard {
  std::string name, description, version;
  BITMAP* icon = nullptr;  // may be null
  int32_t record = 0;      // the game's best score ever, as kept
  std::string rules;       // how a round goes, in a line or two
  std::string note;        // why scores are not kept, or empty
};

struct RoundResult {
  int32_t best = 0;     // the round's best score: the game's GetScore at its end
  long escapes = 0;     // frames in which Update reported an escape
  long frames = 0;      // Update calls
  double seconds = 0;   // time played, pauses left out
  bool record = false;  // its best is a new record, and was kept
  bool demo = false;    // played by the built-in player
};

void DrawStartCard(BITMAP* picture, const GameCard& game);
void DrawResultsCard(BITMAP* picture, const GameCard& game, const RoundResult& round);
// The last frame dimmed, with "Paused" over it.
void DrawPausedCard(BITMAP* picture, BITMAP* lastFrame);

#endif
