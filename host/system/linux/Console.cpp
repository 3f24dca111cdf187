#include "Console.h"

#include <cstdio>

// A terminal program writes where it was started.
void UseParentConsole() {}

void ReportFatal(const std::string& title, const std::string& line) {
  std::fprintf(stderr, "%s: %s\n", title.c_str(), line.c_str());
}
