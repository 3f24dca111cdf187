#include "LentPages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <new>

LentPages::LentPages(int count) : pageSize_(size_t(sysconf(_SC_PAGESIZE))), count_(count) {
  const size_t size = pageSize_ * size_t(count);
  // An anonymous mapping has no file: its descriptor is -1 by convention.
  // cppcheck-suppress invalidFunctionArg
  void* pages = mmap(nullptr, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (pages == MAP_FAILED) throw std::bad_alloc();
  base_ = static_cast<char*>(pages);
}

LentPages::~LentPages() {
  munmap(base_, pageSize_ * size_t(count_));
}

void* LentPages::Lend(int page) {
  char* at = base_ + pageSize_ * size_t(page);
  mprotect(at, pageSize_, PROT_READ | PROT_WRITE);
  return at;
}

void LentPages::TakeBack(int page) {
  mprotect(base_ + pageSize_ * size_t(page), pageSize_, PROT_NONE);
}
