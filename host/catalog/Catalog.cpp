#include "Catalog.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

#include "ProcessInfo.h"
#include "System.h"
#include "Version.h"

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

// Any one call of a module's longer than this is a hang; the whole asking
// (loading, Init included) longer than the other.
constexpr Limits kAskingLimits{10, 3};
// A cache larger than this is not ours.
constexpr size_t kLargestCache = size_t(16) << 20;

// What tells that a module changed since its answers were kept.
struct Stamp {
  uintmax_t size = 0;
  int64_t changed = 0;    // the module's time of change
  int64_t resources = 0;  // its games/<module>/ folder's, or 0

  bool operator==(const Stamp& other) const {
    return size == other.size && changed == other.changed && resources == other.resources;
  }
};

int64_t ChangedAt(const fs::path& path) {
  std::error_code error;
  const auto time = fs::last_write_time(path, error);
  if (error) return 0;
  return std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
}

Stamp StampOf(const fs::path& module) {
  std::error_code error;
  const uintmax_t size = fs::file_size(module, error);
  const fs::path resources = module.parent_path() / "games" / module.stem();
  return {error ? 0 : size, ChangedAt(module), ChangedAt(resources)};
}

std::string Lower(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The module files of a folder: the system's module extension, in any case.
std::vector<fs::path> ModuleFiles(const std::string& folder) {
  const std::string extension = fs::u8path(ModuleFileName("x")).extension().u8string();
  std::vector<fs::path> modules;
  std::error_code error;
  for (fs::directory_iterator entry(fs::u8path(folder), error), end; !error && entry != end;
       entry.increment(error)) {
    std::error_code notAFile;
    if (Lower(entry->path().extension().u8string()) == extension &&
        fs::is_regular_file(entry->path(), notAFile)) {
      modules.push_back(fs::absolute(entry->path()).lexically_normal());
    }
  }
  return modules;
}

struct Kept {
  Stamp stamp;
  CatalogEntry entry;
};

Json ToJson(const Kept& kept) {
  const GameIdentity& game = kept.entry.identity;
  return Json{{"module", kept.entry.module},
              {"size", kept.stamp.size},
              {"changed", kept.stamp.changed},
              {"resources", kept.stamp.resources},
              {"name", game.name},
              {"author", game.author},
              {"description", game.description},
              {"version", game.version},
              {"icon", game.icon},
              {"problem", kept.entry.problem}};
}

Kept FromJson(const Json& json) {
  Kept kept;
  kept.stamp = {json.at("size").get<uintmax_t>(), json.at("changed").get<int64_t>(),
                json.at("resources").get<int64_t>()};
  CatalogEntry& entry = kept.entry;
  entry.module = json.at("module").get<std::string>();
  entry.identity = {json.at("name").get<std::string>(), json.at("author").get<std::string>(),
                    json.at("description").get<std::string>(),
                    json.at("version").get<std::string>(), json.at("icon").get<std::string>()};
  entry.problem = json.at("problem").get<std::string>();
  return kept;
}

// Which gamehost kept the answers: its version, and its program file's size
// and time of change (a new build may ask otherwise).
std::string Keeper() {
  const fs::path program = fs::u8path(ExecutablePath());
  const Stamp stamp = StampOf(program);
  return std::string(FLINTMOOR_VERSION) + " " + std::to_string(stamp.size) + " " +
         std::to_string(stamp.changed);
}

// The answers kept by an earlier run of this gamehost; none where the file
// is missing, damaged or another's.
std::map<std::string, Kept> ReadCache() {
  std::map<std::string, Kept> cache;
  const SmallFile file = ReadSmallFile(CatalogCacheFile(), kLargestCache);
  if (file.status != SmallFile::Status::kRead) return cache;
  try {
    const Json json = Json::parse(file.bytes);
    if (json.at("gamehost").get<std::string>() != Keeper()) return cache;
    for (const Json& game : json.at("games")) {
      Kept kept = FromJson(game);
      cache[kept.entry.module] = kept;
    }
  } catch (const Json::exception&) {
    cache.clear();  // a cache is only ever a shortcut
  }
  return cache;
}

void WriteCache(const std::map<std::string, Kept>& cache) {
  Json games = Json::array();
  for (const auto& [module, kept] : cache) games.push_back(ToJson(kept));
  const Json json{{"gamehost", Keeper()}, {"games", games}};
  const fs::path file = fs::u8path(CatalogCacheFile());
  std::error_code error;
  fs::create_directories(file.parent_path(), error);
  std::string why;
  // Not kept is no harm: the games are asked again next time.
  WriteWholeFile(file.u8string(), json.dump(1, ' ', false, Json::error_handler_t::replace), why,
                 Flushed::kNot);
}

// Asks the module in a child process.
CatalogEntry Ask(const std::string& module) {
  CatalogEntry entry;
  entry.module = module;
  const Verdict verdict = RunInChild(IdentityWork(module), kAskingLimits);
  if (!verdict.passed) {
    entry.problem = verdict.detail;
    entry.tried = verdict.started;  // the system's refusal, not the game's answer
    return entry;
  }
  try {
    const Json answers = Json::parse(verdict.detail);
    entry.identity = {
        answers.at("name").get<std::string>(), answers.at("author").get<std::string>(),
        answers.at("description").get<std::string>(), answers.at("version").get<std::string>(),
        answers.at("icon").get<std::string>()};
    entry.problem = answers.value("problem", "");
    entry.tried = !answers.value("unstarted", false);
  } catch (const Json::exception&) {
    entry.problem = "its answers could not be read";
  }
  return entry;
}

}  // namespace

std::string CatalogEntry::Title() const {
  return identity.name.empty() ? fs::u8path(module).filename().u8string() : identity.name;
}

std::string CatalogCacheFile() {
  return (fs::u8path(UserCacheFolder()) / "gamehost" / "games.json").u8string();
}

std::vector<CatalogEntry> ReadCatalog(const std::vector<std::string>& folders) {
  std::map<std::string, Kept> cache = ReadCache();
  bool changed = false;
  std::vector<CatalogEntry> games;
  std::set<std::string> listed;  // a folder named twice lists its games once
  for (const std::string& folder : folders) {
    for (const fs::path& module : ModuleFiles(folder)) {
      const std::string path = module.u8string();
      if (!listed.insert(path).second) continue;
      const Stamp stamp = StampOf(module);
      auto found = cache.find(path);
      if (found == cache.end() || !(found->second.stamp == stamp)) {
        CatalogEntry asked = Ask(path);
        if (!asked.tried) {  // not kept: asked again next time
          games.push_back(asked);
          continue;
        }
        found = cache.insert_or_assign(path, Kept{stamp, asked}).first;
        changed = true;
      }
      games.push_back(found->second.entry);
    }
  }
  // What is kept of modules gone is let go of.
  for (auto kept = cache.begin(); kept != cache.end();) {
    std::error_code error;
    if (fs::exists(fs::u8path(kept->first), error)) {
      ++kept;
    } else {
      kept = cache.erase(kept);
      changed = true;
    }
  }
  if (changed) WriteCache(cache);
  std::stable_sort(games.begin(), games.end(), [](const CatalogEntry& a, const CatalogEntry& b) {
    const std::string left = Lower(a.Title()), right = Lower(b.Title());
    return left != right ? left < right : a.module < b.module;
  });
  return games;
}
