#include <cstring>
#include <string>

#include "ProcessInfo.h"

std::string EnvironmentLines(char** variables) {
  std::string lines;
  lines.reserve(8192);
  for (char** variable = variables; variable != nullptr && *variable != nullptr; ++variable) {
    // Past the first letter: Windows names some "=C:".
    const char* equals = **variable == '\0' ? nullptr : std::strchr(*variable + 1, '=');
    if (equals == nullptr) continue;
    lines.append(*variable, size_t(equals - *variable));
    lines += "\t\"";
    for (const char* c = equals + 1; *c != '\0'; ++c) lines += *c == '\n' ? ' ' : *c;
    lines += "\"\n";
  }
  return lines;
}
