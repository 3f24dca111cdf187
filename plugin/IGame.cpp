// Default bodies of IGame's operations, compiled into every game module.
#include "IGame.h"

#include <allegro.h>

#include <cstdlib>
#include <cstring>

IGame::~IGame() {
  std::free(path);
  path = nullptr;
}

const char* IGame::GetIcon() {
  return "game_icon.bmp";
}

void IGame::SetPath(const char* filePath) {
  if (filePath == nullptr) return;
  std::free(path);
  size_t length = std::strlen(filePath);
  // Two extra bytes: the terminating NUL and room for put_backslash's separator.
  path = static_cast<char*>(std::malloc(length + 2));
  if (path == nullptr) return;
  std::memcpy(path, filePath, length + 1);
  *get_filename(path) = '\0';
  put_backslash(path);
}

bool IGame::Init() {
  return true;
}
void IGame::Shutdown() {}
int32_t IGame::QueryA() {
  return 1;
}
void IGame::NotifyA() {}
void IGame::NotifyB() {}
int32_t IGame::QueryB() {
  return 0;
}
int32_t IGame::QueryC() {
  return 0;
}
int32_t IGame::QueryD() {
  return 0;
}
