// Which game of the collection is selected, and which rows of the list are
// in view: what the keys, the pointer and the wheel do to them.
#ifndef FLINTMOOR_HOST_COLLECTIONLIST_H
#define FLINTMOOR_HOST_COLLECTIONLIST_H

#include <cstddef>

class CollectionList {
 public:
  // `games` in the list, `rows` of them in view at once.
  CollectionList(size_t games, size_t rows);

  size_t Selected() const { return selected_; }
  // The first game in view.
  size_t Top() const { return top_; }
  size_t Games() const { return games_; }
  size_t Rows() const { return rows_; }

  // Selects a game (the last where there are fewer), scrolling it into view.
  void Select(size_t game);
  // Moves the selection by games: negative up, positive down (Up, Down,
  // Page Up, Page Down), stopping at the ends.
  void Move(long by);
  void First() { Select(0); }
  void Last() { Select(games_ == 0 ? 0 : games_ - 1); }
  // Scrolls the view by rows, negative up, keeping the selection in view.
  void Scroll(long by);
  // The game in the row in view, if there is one there.
  bool GameInRow(size_t row, size_t& game) const;

 private:
  size_t games_, rows_;
  size_t selected_ = 0, top_ = 0;
};

#endif
