#include "LastError.h"

#include <windows.h>

std::string LastErrorText() {
  const DWORD code = GetLastError();
  char* text = nullptr;
  FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string why = text != nullptr ? text : "error " + std::to_string(code);
  LocalFree(text);
  // The system ends its sentences with a full stop and a line break.
  while (!why.empty() && (why.back() == '\n' || why.back() == '\r' || why.back() == '.')) {
    why.pop_back();
  }
  return why;
}
