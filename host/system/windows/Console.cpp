#include "Console.h"

#include <windows.h>
#include <cstdio>
#include <cstdlib>

#include "Wide.h"

namespace {

bool Reaches(DWORD stream) {
  HANDLE handle = GetStdHandle(stream);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

// The console's code page before gamehost made it UTF-8, put back at exit.
UINT parentCodePage = 0;

void RestoreCodePage() {
  SetConsoleOutputCP(parentCodePage);
}

}  // namespace

void UseParentConsole() {
  const bool out = Reaches(STD_OUTPUT_HANDLE), error = Reaches(STD_ERROR_HANDLE);
  if (out && error) return;  // to a file, a pipe or a console already
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  if (!out) std::freopen("CONOUT$", "w", stdout);
  if (!error) std::freopen("CONOUT$", "w", stderr);
  // gamehost writes UTF-8: paths with any letter in them.
  parentCodePage = GetConsoleOutputCP();
  if (parentCodePage != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) std::atexit(RestoreCodePage);
}

void ReportFatal(const std::string& title, const std::string& line) {
  if (Reaches(STD_ERROR_HANDLE) || GetConsoleWindow() != nullptr) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), line.c_str());
    return;
  }
  MessageBoxW(nullptr, Wide(line).c_str(), Wide(title).c_str(), MB_OK | MB_ICONERROR);
}
