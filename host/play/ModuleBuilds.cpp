#include "ModuleBuilds.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "System.h"

namespace fs = std::filesystem;

namespace {

// A build has finished writing the file once it stays the same this long.
constexpr int64_t kSettleMs = 200;

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

ModuleBuilds::ModuleBuilds(std::string module, std::string folder)
    : module_(std::move(module)), folder_(std::move(folder)) {
  // Where an earlier process left off: the builds taken, the last one's file.
  for (const Line& line : Log()) {
    if (line.what != "taken") continue;
    std::istringstream stamp(line.rest);
    stamp >> taken_.size >> taken_.changed;
    ++builds_;
  }
}

std::vector<ModuleBuilds::Line> ModuleBuilds::Log() const {
  std::vector<Line> lines;
  std::ifstream log(fs::u8path(folder_) / "builds.txt");
  for (std::string text; std::getline(log, text);) {
    std::istringstream words(text);
    Line line;
    if (words >> line.what >> line.build) std::getline(words >> std::ws, line.rest);
    lines.push_back(line);
  }
  return lines;
}

void ModuleBuilds::Note(const std::string& what, const std::string& build,
                        const std::string& rest) const {
  std::ofstream(fs::u8path(folder_) / "builds.txt", std::ios::app)
      << what << " " << build << (rest.empty() ? "" : " " + rest) << "\n";
}

std::string ModuleBuilds::Path(const std::string& build) const {
  return (fs::u8path(folder_) / build / fs::u8path(module_).filename()).u8string();
}

ModuleBuilds::Stamp ModuleBuilds::Now() const {
  std::error_code error;
  const fs::path file = fs::u8path(module_);
  Stamp stamp;
  stamp.size = fs::file_size(file, error);
  if (error) return Stamp{};
  const auto time = fs::last_write_time(file, error);
  stamp.changed =
      std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
  return stamp;
}

bool ModuleBuilds::Changed() const {
  const Stamp now = Now();
  return now.size != 0 && !(now == taken_);
}

std::optional<std::string> ModuleBuilds::NewBuild(std::string& why) {
  const Stamp now = Now();
  if (now.size == 0 || now == taken_) return std::nullopt;  // none, or the same
  if (!looking_ || !(*looking_ == now)) {
    looking_ = now;
    lookedAt_ = NowMs();
    return std::nullopt;
  }
  if (NowMs() - lookedAt_ < kSettleMs) return std::nullopt;
  looking_.reset();
  const std::string build = "build-" + std::to_string(builds_ + 1);
  const fs::path source = fs::u8path(module_), copy = fs::u8path(Path(build));
  std::error_code error;
  fs::create_directories(copy.parent_path(), error);
  if (!error) fs::copy_file(source, copy, fs::copy_options::overwrite_existing, error);
  if (error) {
    why = "can't copy " + source.u8string() + ": " + error.message();
    return std::nullopt;
  }
  // Its resources where the module's own are.
  ShowFolder((source.parent_path() / "games").u8string(),
             (copy.parent_path() / "games").u8string());
  ++builds_;
  taken_ = now;
  Note("taken", build, std::to_string(now.size) + " " + std::to_string(now.changed));
  return copy.u8string();
}

void ModuleBuilds::Started(const std::string& copy) {
  Note("started", fs::u8path(copy).parent_path().filename().u8string(), "");
}

std::optional<std::string> ModuleBuilds::LastGood() const {
  std::vector<std::string> started;
  std::set<std::string> crashed;
  for (const Line& line : Log()) {
    if (line.what == "started") started.push_back(line.build);
    if (line.what == "crashed") crashed.insert(line.build);
  }
  for (auto build = started.rbegin(); build != started.rend(); ++build) {
    if (crashed.count(*build) == 0) return Path(*build);
  }
  return std::nullopt;
}

std::string ModuleBuilds::CrashedLast() {
  std::string last;
  for (const Line& line : Log()) {
    if (line.what == "started") last = line.build;
  }
  if (last.empty()) return "";
  Note("crashed", last, "");
  return Path(last);
}

std::string ModuleBuilds::Name(const std::string& copy) {
  std::string name = fs::u8path(copy).parent_path().filename().u8string();  // build-3
  return name.replace(name.find('-'), 1, " ");
}
