#include "Records.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "System.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kHeader = "# gamehost: the record of each game played here\n";
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

const char* kNotKept = "; it is left as it is and no record is kept until it is mended or removed";

}  // namespace

Records::Records(Keeping keeping)
    : file_(UserDataFolder() + "/gamehost/best-scores.txt"), keeping_(keeping) {
  // Why nothing is saved: the player's choice first, then the file's state.
  if (keeping == Keeping::kDemo) note_ = "A demo: its scores are not kept";
  if (keeping == Keeping::kNotKept) note_ = "Records are not kept (--no-save)";
  Reread();
  if (!Keeps()) return;
  // Found out now, not after a round the player hoped to keep.
  const std::string why = WhyNotWritable(Followed(fs::u8path(file_)).u8string());
  if (!why.empty()) {
    StopKeeping("Records can't be kept: " + why,
                "can't keep records in " + file_ + " (" + why + "); playing without keeping them");
  }
}

std::optional<int32_t> Records::Of(const std::string& game) const {
  if (!known_) return std::nullopt;
  auto found = records_.find(Key(game));
  return found == records_.end() ? 0 : found->second;
}

void Records::Reread() {
  // A damaged file counts for nothing, not even its lines before the damage.
  std::map<std::string, int32_t> kept;
  known_ = Read(kept);
  records_ = known_ ? kept : std::map<std::string, int32_t>{};
}

bool Records::Offer(const std::string& game, int32_t score) {
  if (!Keeps() || score <= Of(game).value_or(INT32_MAX)) return false;
  std::error_code error;
  const fs::path target = Followed(fs::u8path(file_));
  const std::string folder = target.parent_path().u8string();
  fs::create_directories(target.parent_path(), error);
  if (error) {
    StopKeeping(
        "Records can't be kept: their folder can't be made",
        "can't make " + folder + " (" + error.message() + "); playing without keeping records");
    return false;
  }
  // Read, merged and replaced by one gamehost at a time: another may have
  // kept a record meanwhile, and none is ever lowered.
  const FolderLock lock(folder, kLockWaitMs);
  if (!lock.Held()) {
    StopKeeping("Records can't be kept: another program holds them",
                "can't keep records in " + folder +
                    " (another program holds them); playing without keeping them");
    return false;
  }
  Reread();
  if (!known_) return false;
  if (score <= records_[Key(game)]) return false;  // kept by another meanwhile: theirs
  records_[Key(game)] = score;
  std::ostringstream text;
  text << kHeader;
  for (const auto& [name, record] : records_) text << name << '\t' << record << '\n';
  std::string why;
  if (!WriteWholeFile(target.u8string(), text.str(), why)) {
    Reread();
    StopKeeping("Records can't be kept: " + why,
                "can't keep records in " + folder + " (" + why + "); playing without keeping them");
    return false;
  }
  return true;
}

bool Records::Read(std::map<std::string, int32_t>& records) {
  const std::string name = fs::u8path(file_).filename().u8string();
  const SmallFile read = ReadSmallFile(Followed(fs::u8path(file_)).u8string(), kMostBytes);
  switch (read.status) {
    case SmallFile::Status::kRead:
      break;
    case SmallFile::Status::kMissing:
      return true;  // none kept yet
    case SmallFile::Status::kNotAFile:
    case SmallFile::Status::kUnreadable: {
      const std::string why = read.status == SmallFile::Status::kNotAFile ? "not a file" : read.why;
      StopKeeping("Records can't be kept: " + name + " is " +
                      (read.status == SmallFile::Status::kNotAFile ? "not a file" : "unreadable"),
                  "can't read the records in " + file_ + " (" + why + "); not keeping any");
      return false;
    }
    case SmallFile::Status::kTooLarge:
      StopKeeping("Records can't be kept: " + name + " is damaged",
                  file_ + " is damaged (over " + std::to_string(kMostBytes) +
                      " bytes, far too large)" + kNotKept);
      return false;
  }
  std::istringstream lines(read.bytes);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    size_t tab = line.rfind('\t');
    int32_t score = 0;
    if (tab == std::string::npos || tab == 0 || !ParseScore(line.substr(tab + 1), score)) {
      StopKeeping(
          "Records can't be kept: " + name + " is damaged at line " + std::to_string(number),
          file_ + " is damaged at line " + std::to_string(number) + kNotKept);
      return false;
    }
    std::string game = line.substr(0, tab);
    if (score > records[game]) records[game] = score;
  }
  return true;
}

void Records::StopKeeping(const std::string& note, const std::string& report) {
  // Said once, however often the file is read again in the same state.
  if (note == reported_) return;
  reported_ = note;
  std::fprintf(stderr, "gamehost: %s\n", report.c_str());
  // The player's own choice not to keep records stays the reason shown.
  if (keeping_ == Keeping::kKept) note_ = note;
}
