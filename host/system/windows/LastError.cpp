#include "LastError.h"

#include <windows.h>

#include "Wide.h"

std::string LastErrorText(const std::string& subject) {
  const DWORD code = GetLastError();
  wchar_t* text = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string why = text != nullptr ? Utf8(text) : "error " + std::to_string(code);
  LocalFree(text);
  // Some messages name their subject with a place-holder: "Bad EXE format
  // for %1".
  const size_t insert = why.find("%1");
  if (insert != std::string::npos) why.replace(insert, 2, subject);
  // The system ends its sentences with a full stop and a line break.
  while (!why.empty() && (why.back() == '\n' || why.back() == '\r' || why.back() == '.')) {
    why.pop_back();
  }
  return why;
}
