// Memory a host lends a module for the length of one call: readable and
// writable while lent, neither once taken back. A module that keeps the
// pointer and uses it after the call crashes there and then, at an address
// the report can name, instead of reading what the host put there since.
#ifndef FLINTMOOR_HOST_LENTPAGES_H
#define FLINTMOOR_HOST_LENTPAGES_H

#include <cstddef>
#include <cstdint>

class LentPages {
 public:
  // `count` pages of the system's size, none lent yet. Throws
  // std::bad_alloc when the system gives none.
  explicit LentPages(int count);
  ~LentPages();
  LentPages(const LentPages&) = delete;
  LentPages& operator=(const LentPages&) = delete;

  // The page, readable and writable from now.
  void* Lend(int page);
  // Neither, from now.
  void TakeBack(int page);
  // Where all the pages lie, for the report of a crash among them.
  uintptr_t Begin() const { return reinterpret_cast<uintptr_t>(base_); }
  uintptr_t End() const { return Begin() + pageSize_ * size_t(count_); }

 private:
  char* base_ = nullptr;
  size_t pageSize_ = 0;
  int count_;
};

#endif
