#include "BrokenModules.h"

#include <algorithm>
#include <fstream>

namespace {

#ifdef _WIN32
constexpr bool kWindows = true;
const char* const kThisSystem = "windows: ";
const char* const kOtherSystem = "linux: ";
#else
constexpr bool kWindows = false;
const char* const kThisSystem = "linux: ";
const char* const kOtherSystem = "windows: ";
#endif

// The text split at each separator, each piece trimmed of spaces.
std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> pieces;
  for (size_t at = 0;;) {
    const size_t end = text.find(separator, at);
    std::string piece = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
    piece.erase(0, piece.find_first_not_of(' '));
    piece.erase(piece.find_last_not_of(' ') + 1);
    pieces.push_back(piece);
    if (end == std::string::npos) return pieces;
    at = end + separator.size();
  }
}

bool Take(std::string& text, const std::string& prefix) {
  if (text.rfind(prefix, 0) != 0) return false;
  text.erase(0, prefix.size());
  return true;
}

}  // namespace

std::vector<BrokenModule> ReadBrokenModules(const std::string& file) {
  std::vector<BrokenModule> modules;
  std::ifstream table(file);
  for (std::string line; std::getline(table, line);) {
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string> fields = Split(line, "|");
    if (fields.size() != 4) continue;
    BrokenModule module;
    module.name = fields[0];
    module.check = fields[1];
    for (std::string piece : Split(fields[2], " ... ")) {
      if (Take(piece, kOtherSystem)) continue;
      Take(piece, kThisSystem);
      module.words.push_back(piece);
    }
    const std::vector<std::string> options = Split(fields[3], ", ");
    if (kWindows && std::find(options.begin(), options.end(), "linux") != options.end()) continue;
    for (std::string option : options) {
      if (option == "memory") module.memory = true;
      if (option == "hangs") module.hangs = true;
      if (option == "valgrind") module.valgrind = true;
      if (Take(option, "also fails: ")) module.alsoFails.push_back(option);
      if (Take(option, "also passes: ")) module.alsoPasses.push_back(option);
    }
    modules.push_back(module);
  }
  return modules;
}
