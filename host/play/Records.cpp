#include "BestScores.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "System.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kHeader = "# gamehost: the best score of each game played here\n";
// Far more than any number of games: a larger file is not ours.
constexpr size_t kMostBytes = size_t(1) << 20;
// Another gamehost holds the file for a read, a merge and a rename.
constexpr int kLockWaitMs = 5000;

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

// The file a path names once its links are followed, whether it exists yet
// or not: a dotfiles user's link stays a link, its target is what changes.
fs::path Followed(fs::path path) {
  std::error_code error;
  for (int hops = 0; hops < 40 && fs::is_symlink(path, error); ++hops) {
    fs::path target = fs::read_symlink(path, error);
    if (error) break;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path.lexically_normal();
}

}  // namespace

BestScores::BestScores(Keeping keeping)
    : file_(UserDataFolder() + "/gamehost/best-scores.txt"),
      demo_(keeping == Keeping::kDemo),
      saving_(keeping == Keeping::kKept) {
  // A damaged file counts for nothing, not even its lines before the damage.
  std::map<std::string, int32_t> kept;
  if (Read(kept)) scores_ = kept;
  // Why nothing is saved: the player's choice first, then the file's state.
  if (keeping == Keeping::kDemo) note_ = "A demo: its scores are not kept";
  if (keeping == Keeping::kNotKept) note_ = "Scores are not kept (--no-save)";
}

int32_t BestScores::Best(const std::string& game) const {
  auto found = scores_.find(Key(game));
  return found == scores_.end() ? 0 : found->second;
}

bool BestScores::Offer(const std::string& game, int32_t score) {
  if (demo_ || score <= Best(game)) return false;
  scores_[Key(game)] = score;  // this run's record, kept or not
  // (Another gamehost may have saved a higher one meanwhile.)
  return saving_ && Save() && Best(game) == score;
}

bool BestScores::Read(std::map<std::string, int32_t>& scores) {
  const std::string name = fs::u8path(file_).filename().u8string();
  const SmallFile read = ReadSmallFile(Followed(fs::u8path(file_)).u8string(), kMostBytes);
  switch (read.status) {
    case SmallFile::Status::kRead:
      break;
    case SmallFile::Status::kMissing:
      return true;  // none kept yet
    case SmallFile::Status::kNotAFile:
    case SmallFile::Status::kUnreadable: {
      const bool notAFile = read.status == SmallFile::Status::kNotAFile;
      std::fprintf(stderr, "gamehost: can't read the best scores in %s (%s); not saving any\n",
                   file_.c_str(), notAFile ? "not a file" : read.why.c_str());
      StopKeeping("Scores can't be kept: " + name +
                  (notAFile ? " is not a file" : " is unreadable"));
      return false;
    }
    case SmallFile::Status::kTooLarge:
      std::fprintf(stderr,
                   "gamehost: %s is damaged (over %zu bytes, far too large); it is left as it is "
                   "and no best score is saved until it is mended or removed\n",
                   file_.c_str(), kMostBytes);
      StopKeeping("Scores can't be kept: " + name + " is damaged");
      return false;
  }
  std::istringstream lines(read.bytes);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    size_t tab = line.rfind('\t');
    int32_t score = 0;
    if (tab == std::string::npos || tab == 0 || !ParseScore(line.substr(tab + 1), score)) {
      std::fprintf(stderr,
                   "gamehost: %s is damaged at line %d; it is left as it is and no best "
                   "score is saved until it is mended or removed\n",
                   file_.c_str(), number);
      StopKeeping("Scores can't be kept: " + name + " is damaged at line " +
                  std::to_string(number));
      return false;
    }
    std::string game = line.substr(0, tab);
    if (score > scores[game]) scores[game] = score;
  }
  return true;
}

bool BestScores::Save() {
  std::error_code error;
  fs::create_directories(fs::u8path(file_).parent_path(), error);
  const fs::path target = Followed(fs::u8path(file_));
  const std::string folder = target.parent_path().u8string();
  if (error || !fs::is_directory(target.parent_path(), error)) {
    std::fprintf(stderr, "gamehost: can't save best scores in %s (%s); playing without saving\n",
                 folder.c_str(), error ? error.message().c_str() : "no such folder");
    StopKeeping("Scores can't be kept: no folder for them");
    return false;
  }
  // Read, merged and replaced by one gamehost at a time: another may have
  // raised a score meanwhile, and none is ever lowered.
  const FolderLock lock(folder, kLockWaitMs);
  if (!lock.Held()) {
    std::fprintf(stderr, "gamehost: can't save best scores in %s (%s); playing without saving\n",
                 folder.c_str(), "another program holds them");
    StopKeeping("Scores can't be kept: another program holds them");
    return false;
  }
  std::map<std::string, int32_t> onDisk;
  if (!Read(onDisk)) return false;
  for (const auto& [name, score] : onDisk) {
    if (score > scores_[name]) scores_[name] = score;
  }
  std::ostringstream text;
  text << kHeader;
  for (const auto& [name, score] : scores_) text << name << '\t' << score << '\n';
  std::string why;
  if (!WriteWholeFile(target.u8string(), text.str(), why)) {
    std::fprintf(stderr, "gamehost: can't save best scores in %s (%s); playing without saving\n",
                 folder.c_str(), why.c_str());
    StopKeeping("Scores can't be kept: " + why);
    return false;
  }
  return true;
}

void BestScores::StopKeeping(const std::string& note) {
  saving_ = false;
  note_ = note;
}
