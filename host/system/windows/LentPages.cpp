#include "LentPages.h"

#include <windows.h>

#include <new>

namespace {

size_t PageSize() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return info.dwPageSize;
}

}  // namespace

LentPages::LentPages(int count) : pageSize_(PageSize()), count_(count) {
  void* pages =
      VirtualAlloc(nullptr, pageSize_ * size_t(count), MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS);
  if (pages == nullptr) throw std::bad_alloc();
  base_ = static_cast<char*>(pages);
}

LentPages::~LentPages() {
  VirtualFree(base_, 0, MEM_RELEASE);
}

void* LentPages::Lend(int page) {
  char* at = base_ + pageSize_ * size_t(page);
  DWORD was = 0;
  VirtualProtect(at, pageSize_, PAGE_READWRITE, &was);
  return at;
}

void LentPages::TakeBack(int page) {
  DWORD was = 0;
  VirtualProtect(base_ + pageSize_ * size_t(page), pageSize_, PAGE_NOACCESS, &was);
}
