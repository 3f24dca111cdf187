#include "CollectionList.h"

#include <algorithm>

CollectionList::CollectionList(size_t games, size_t rows)
    : games_(games), rows_(std::max<size_t>(rows, 1)) {}

void CollectionList::Select(size_t game) {
  if (games_ == 0) return;
  selected_ = std::min(game, games_ - 1);
  if (selected_ < top_) top_ = selected_;
  if (selected_ >= top_ + rows_) top_ = selected_ - rows_ + 1;
}

void CollectionList::Move(long by) {
  const long target = long(selected_) + by;
  Select(target < 0 ? 0 : size_t(target));
}

void CollectionList::Scroll(long by) {
  if (games_ <= rows_) return;
  const long most = long(games_ - rows_);
  top_ = size_t(std::clamp(long(top_) + by, 0L, most));
  selected_ = std::clamp(selected_, top_, top_ + rows_ - 1);
}

bool CollectionList::GameInRow(size_t row, size_t& game) const {
  if (row >= rows_ || top_ + row >= games_) return false;
  game = top_ + row;
  return true;
}
