#include "BestScores.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "System.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kHeader = "# gamehost: the best score of each game played here\n";

// A name on one line without the separator: control characters become spaces.
std::string Key(const std::string& game) {
  std::string key = game;
  for (char& c : key) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  return key;
}

bool ParseScore(const std::string& text, int32_t& score) {
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno == ERANGE || value < 0 || value > INT32_MAX) {
    return false;
  }
  score = int32_t(value);
  return true;
}

}  // namespace

BestScores::BestScores(bool saving)
    : file_(UserDataFolder() + "/gamehost/best-scores.txt"), saving_(saving) {
  // A damaged file counts for nothing, not even its lines before the damage.
  std::map<std::string, int32_t> kept;
  if (Read(kept)) {
    scores_ = kept;
  } else {
    saving_ = false;
  }
}

int32_t BestScores::Best(const std::string& game) const {
  auto found = scores_.find(Key(game));
  return found == scores_.end() ? 0 : found->second;
}

bool BestScores::Offer(const std::string& game, int32_t score) {
  if (score <= Best(game)) return false;
  scores_[Key(game)] = score;
  if (saving_) Save();
  return true;
}

bool BestScores::Read(std::map<std::string, int32_t>& scores) const {
  std::error_code error;
  if (!fs::exists(file_, error) && !error) return true;  // none kept yet
  std::ifstream in(file_);
  if (!in || !fs::is_regular_file(file_, error)) {
    std::fprintf(stderr, "gamehost: can't read the best scores in %s (%s); not saving any\n",
                 file_.c_str(), in ? "not a file" : std::strerror(errno));
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    size_t tab = line.rfind('\t');
    int32_t score = 0;
    if (tab == std::string::npos || tab == 0 || !ParseScore(line.substr(tab + 1), score)) {
      std::fprintf(stderr,
                   "gamehost: %s is damaged at line %d; it is left as it is and no best "
                   "score is saved until it is mended or removed\n",
                   file_.c_str(), number);
      return false;
    }
    std::string name = line.substr(0, tab);
    if (score > scores[name]) scores[name] = score;
  }
  return true;
}

void BestScores::Save() {
  // Another gamehost may have raised a score meanwhile: never lower one.
  std::map<std::string, int32_t> onDisk;
  if (!Read(onDisk)) {
    saving_ = false;
    return;
  }
  for (const auto& [name, score] : onDisk) {
    if (score > scores_[name]) scores_[name] = score;
  }
  std::error_code error;
  fs::path folder = fs::path(file_).parent_path();
  fs::create_directories(folder, error);
  if (error) return StopSaving(error.message());

  std::ostringstream text;
  text << kHeader;
  for (const auto& [name, score] : scores_) text << name << '\t' << score << '\n';
  std::string why;
  if (!WriteWholeFile(file_, text.str(), why)) StopSaving(why);
}

void BestScores::StopSaving(const std::string& why) {
  std::fprintf(stderr, "gamehost: can't save best scores in %s (%s); playing without saving\n",
               fs::path(file_).parent_path().string().c_str(), why.c_str());
  saving_ = false;
}
