// The collection as the player sees it, 640x480 like a game's picture: a
// heading, a list of the games in view (icon, name, version and author,
// record), and the selected game's description under it.
#ifndef FLINTMOOR_HOST_COLLECTIONPICTURE_H
#define FLINTMOOR_HOST_COLLECTIONPICTURE_H

#include <cstddef>
#include <string>
#include <vector>

#include "CollectionList.h"

struct BITMAP;

// The rows of the list in view at once.
constexpr size_t kCollectionRows = 6;

struct CollectionRow {
  std::string title;       // the game's name
  std::string byline;      // its version and author
  std::string record;      // "Record 12", "Record unknown"
  std::string problem;     // why it can't be played, or empty
  BITMAP* icon = nullptr;  // its icon, or null for a drawn stand-in
};

struct CollectionView {
  std::vector<CollectionRow> rows;  // every game, in list order
  const CollectionList* list = nullptr;
  std::string description;  // the selected game's
  std::string note;         // one line at the top, in warning: what just happened
  std::string empty;        // what to do where there are no games
};

void DrawCollection(BITMAP* picture, const CollectionView& view);

// The row of the list in view at a position of the picture, if any.
bool RowUnder(int x, int y, size_t& row);

#endif
