#include "Validator.h"

#include <allegro.h>
#include <dlfcn.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "HostError.h"
#include "IGame.h"
#include "Isolated.h"
#include "ResourceFolder.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFrames = 3000;
constexpr double kInitLimitMs = 100;
constexpr int kCycles = 40, kWarmUpCycles = 10;
constexpr long kMostGrowthKb = 2048;

// What every check knows: the module and where its resources are.
struct Subject {
  std::string module;     // absolute path
  std::string resources;  // working folder that holds the module's games/
  unsigned seed;
};

Verdict Pass(const std::string& detail) {
  return {true, detail};
}
Verdict Fail(const std::string& detail) {
  return {false, detail};
}

// Allegro as a host sets it up, in the child: library, timer, colour depth
// and, where a display allows, a 640x480 window.
bool StartAllegro(int depth) {
  // Many short-lived children share one display; one may be turned away.
  int attempts = 0;
  while (allegro_init() != 0) {
    if (++attempts == 5) return false;
    usleep(200 * 1000);
  }
  install_timer();
  set_color_depth(depth);
  set_gfx_mode(GFX_AUTODETECT_WINDOWED, 640, 480, 0, 0);  // memory bitmaps do without
  set_color_depth(depth);
  return true;
}

// The module, loaded as a host loads it.
class Loaded {
 public:
  explicit Loaded(const std::string& path) {
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ != nullptr) {
      getPlugin_ = reinterpret_cast<GetPluginFunction>(dlsym(handle_, "GetPlugin"));
    }
    error_ = handle_ == nullptr ? dlerror() : getPlugin_ == nullptr ? "no GetPlugin export" : "";
  }
  ~Loaded() { Unload(); }
  Loaded(const Loaded&) = delete;
  Loaded& operator=(const Loaded&) = delete;

  bool Ok() const { return getPlugin_ != nullptr; }
  const std::string& Error() const { return error_; }
  std::unique_ptr<IGame> NewGame() const { return std::unique_ptr<IGame>(getPlugin_()); }
  void Unload() {
    if (handle_ != nullptr) dlclose(handle_);
    handle_ = nullptr;
    getPlugin_ = nullptr;
  }

 private:
  void* handle_ = nullptr;
  GetPluginFunction getPlugin_ = nullptr;
  std::string error_;
};

// A folder without anything in it, removed when done.
class EmptyFolder {
 public:
  EmptyFolder() {
    char pattern[] = "/tmp/gamehost-validate-XXXXXX";
    if (mkdtemp(pattern) != nullptr) path_ = pattern;
  }
  ~EmptyFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Mouse input as players and broken hosts give it: mostly on the screen,
// sometimes far outside it, buttons held for a moment or for a long time.
class RandomMouse {
 public:
  explicit RandomMouse(unsigned seed) : random_(seed) {}
  MouseInput Next() {
    if (holdFor_ > 0) {
      --holdFor_;
    } else if (random_() % 10 == 0) {
      holdFor_ = random_() % 5 == 0 ? 300 : 1 + random_() % 10;
      mouse_.buttons = mouse_.buttons ? 0 : 1 + int32_t(random_() % 7);
    }
    if (random_() % 20 == 0) {
      mouse_.x = int32_t(random_());
      mouse_.y = int32_t(random_());
    } else {
      mouse_.x = int32_t(random_() % 640);
      mouse_.y = int32_t(random_() % 480);
    }
    return mouse_;
  }

 private:
  std::mt19937 random_;
  MouseInput mouse_{0, 0, 0};
  int holdFor_ = 0;
};

long ResidentKb() {
  long pages = 0, resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// A new game of the module, handed its path and started in its resource
// folder as a host does.
std::unique_ptr<IGame> StartGame(const Subject& subject, const Loaded& module, bool& started) {
  auto game = module.NewGame();
  game->SetPath(subject.module.c_str());
  fs::current_path(subject.resources);
  started = game->Init();
  return game;
}

void PlayFrames(IGame& game, BITMAP* destination, int frames, unsigned seed) {
  RandomMouse mouse(seed);
  for (int frame = 0; frame < frames; ++frame) {
    MouseInput input = mouse.Next();
    game.Update(0, &input);
    game.Draw(destination);
  }
}

Verdict ExportsGetPlugin(const Subject&, const Loaded& module) {
  auto first = module.NewGame();
  auto second = module.NewGame();
  if (first == nullptr || second == nullptr) return Fail("GetPlugin answered null");
  if (first == second) return Fail("two GetPlugin calls answered the same object");
  return Pass("loaded with RTLD_NOW | RTLD_LOCAL; two calls gave two games");
}

Verdict Identity(const Subject&, const Loaded& module) {
  auto game = module.NewGame();
  auto other = module.NewGame();
  using Operation = const char* (IGame::*)();
  const std::pair<const char*, Operation> operations[] = {
      {"GetName", &IGame::GetName},
      {"GetAuthor", &IGame::GetAuthor},
      {"GetDescription", &IGame::GetDescription},
      {"GetVersion", &IGame::GetVersion},
      {"GetIcon", &IGame::GetIcon}};
  for (const auto& [name, operation] : operations) {
    const char* first = (game.get()->*operation)();
    if (first == nullptr) return Fail(std::string(name) + " answered null");
    std::string kept = first;
    const char* again = (game.get()->*operation)();
    const char* fromOther = (other.get()->*operation)();
    if (again == nullptr || fromOther == nullptr || kept != again || kept != fromOther) {
      return Fail(std::string(name) + " changed its answer between calls");
    }
  }
  int32_t queries[] = {game->QueryA(), game->QueryB(), game->QueryC(), game->QueryD()};
  game->NotifyA();
  game->NotifyB();
  return Pass(std::string(game->GetName()) + " " + game->GetVersion() + "; queries answer " +
              std::to_string(queries[0]) + ", " + std::to_string(queries[1]) + ", " +
              std::to_string(queries[2]) + ", " + std::to_string(queries[3]));
}

Verdict SetPath(const Subject&, const Loaded& module) {
  auto game = module.NewGame();
  const std::pair<const char*, const char*> cases[] = {{"first/folder/module.so", "first/folder/"},
                                                       {"second/module.so", "second/"}};
  for (const auto& [given, expected] : cases) {
    game->SetPath(given);
    std::string stored = game->path != nullptr ? game->path : "(null)";
    if (stored != expected) {
      return Fail("SetPath(\"" + std::string(given) + "\") stored \"" + stored + "\", not \"" +
                  expected + "\" (as IGame stores it, unless the game means otherwise)");
    }
  }
  return Pass("stores the folder; a second call replaces the first");
}

Verdict InitInTime(const Subject& subject, const Loaded& module) {
  auto game = module.NewGame();
  game->SetPath(subject.module.c_str());
  fs::current_path(subject.resources);
  auto start = std::chrono::steady_clock::now();
  bool started = game->Init();
  double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  game->Shutdown();
  char took[64];
  std::snprintf(took, sizeof took, "%.1f ms", ms);
  if (!started) return Fail("Init answered false in " + subject.resources);
  if (ms > kInitLimitMs) return Fail(std::string("Init took ") + took + ", over 100 ms");
  return Pass(std::string("Init answered true in ") + took);
}

// Frames with random input, drawn into a destination larger than the
// picture: everything beyond 640x480 must stay as it was.
Verdict Frames(const Subject& subject, const Loaded& module, int depth) {
  bool started;
  auto game = StartGame(subject, module, started);
  if (!started) return Fail("Init answered false in " + subject.resources);
  BITMAP* destination = create_bitmap(640 + 64, 480 + 48);
  const int untouched = makecol(3, 254, 7);
  clear_to_color(destination, untouched);
  constexpr int kRound = 100;
  for (int frame = 0; frame < kFrames; frame += kRound) {
    PlayFrames(*game, destination, kRound, subject.seed + unsigned(depth + frame));
    for (int y = 0; y < destination->h; ++y) {
      for (int x = y < 480 ? 640 : 0; x < destination->w; ++x) {
        if (getpixel(destination, x, y) != untouched) {
          return Fail("Draw wrote at (" + std::to_string(x) + ", " + std::to_string(y) +
                      "), outside the 640x480 picture, by frame " + std::to_string(frame + kRound));
        }
      }
    }
  }
  game->Shutdown();
  destroy_bitmap(destination);
  return Pass(std::to_string(kFrames) + " frames of random input at " + std::to_string(depth) +
              " bits per pixel; Draw kept to 640x480");
}

Verdict Lifecycle(const Subject& subject, const Loaded& module) {
  auto game = module.NewGame();
  game->SetPath(subject.module.c_str());
  {
    EmptyFolder empty;
    fs::current_path(empty.Path());
    game->Init();
    game->Shutdown();  // after an Init that (most likely) answered false
  }
  fs::current_path(subject.resources);
  for (int round = 0; round < 2; ++round) {
    if (!game->Init()) return Fail("Init answered false after a Shutdown");
    BITMAP* picture = create_bitmap(640, 480);
    PlayFrames(*game, picture, 200, subject.seed + unsigned(round));
    destroy_bitmap(picture);
    game->Shutdown();
  }
  game.reset();
  return Pass("Shutdown after false and true Inits, Init again, destroyed when stopped");
}

Verdict NoResources(const Subject& subject, const Loaded& module) {
  auto game = module.NewGame();
  game->SetPath(subject.module.c_str());
  EmptyFolder empty;
  fs::current_path(empty.Path());
  bool started = game->Init();
  game->Shutdown();
  if (started) return Fail("Init answered true in an empty working folder");
  return Pass("Init answered false in an empty working folder");
}

std::atomic<int> hostTicks{0};
void CountHostTick() {
  ++hostTicks;
}

// Plays a few frames of a game of a freshly loaded module, then unloads it.
std::string PlayAndUnload(const Subject& subject, BITMAP* picture, int frames, unsigned seed) {
  Loaded module(subject.module);
  if (!module.Ok()) return module.Error();
  bool started;
  auto game = StartGame(subject, module, started);
  if (started) PlayFrames(*game, picture, frames, seed);
  game->Shutdown();
  return "";
}

Verdict Unload(const Subject& subject) {
  if (install_int(CountHostTick, 1) != 0) return Fail("can't install a timer callback");
  BITMAP* picture = create_bitmap(640, 480);
  std::string error = PlayAndUnload(subject, picture, 100, subject.seed);
  destroy_bitmap(picture);
  if (!error.empty()) return Fail(error);
  void* stillThere = dlopen(subject.module.c_str(), RTLD_NOW | RTLD_NOLOAD);
  // The timer thread runs on; a callback left behind now calls unmapped code.
  for (int start = hostTicks; hostTicks < start + 300;) rest(1);
  if (stillThere != nullptr) {
    dlclose(stillThere);
    return Fail("still loaded after dlclose (STB_GNU_UNIQUE symbols or RTLD_NODELETE?)");
  }
  return Pass("unloaded; Allegro's timer ran on for 300 ms without it");
}

Verdict Cycles(const Subject& subject) {
  long warm = 0;
  BITMAP* picture = create_bitmap(640, 480);
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    std::string error = PlayAndUnload(subject, picture, 20, subject.seed + unsigned(cycle));
    if (!error.empty()) return Fail(error);
    if (cycle == kWarmUpCycles) warm = ResidentKb();
  }
  destroy_bitmap(picture);
  long growth = ResidentKb() - warm;
  std::string grew = std::to_string(growth) + " kB over " +
                     std::to_string(kCycles - kWarmUpCycles) + " load, play, unload cycles";
#ifndef __SANITIZE_ADDRESS__
  // (AddressSanitizer holds freed memory back on purpose and checks for
  // leaks itself: in such a build the growth says nothing.)
  if (growth > kMostGrowthKb) return Fail("resident memory grew " + grew);
#endif
  return Pass("resident memory grew " + grew);
}

// A check runs in its own child process: Allegro started at a colour depth,
// then either the check on the module loaded for it, or a check that loads
// and unloads the module itself.
struct Check {
  const char* name;
  int seconds;
  int depth;
  Verdict (*onModule)(const Subject&, const Loaded&);
  Verdict (*loadsItself)(const Subject&);
  const char* whenItCrashes;
};

const Check kChecks[] = {
    {"exports GetPlugin", 10, 32, ExportsGetPlugin, nullptr, "while loading or creating the game"},
    {"identity", 10, 32, Identity, nullptr, "in an identity, query or notify operation"},
    {"SetPath", 10, 32, SetPath, nullptr, "in SetPath"},
    {"Init in time", 10, 32, InitInTime, nullptr, "in Init or Shutdown"},
    {"frames at 32 bpp", 60, 32, [](const Subject& s, const Loaded& m) { return Frames(s, m, 32); },
     nullptr, "in Update or Draw"},
    {"frames at 16 bpp", 60, 16, [](const Subject& s, const Loaded& m) { return Frames(s, m, 16); },
     nullptr, "in Update or Draw"},
    {"lifecycle", 30, 32, Lifecycle, nullptr, "in Init, Shutdown or the destructor"},
    {"no resources", 10, 32, NoResources, nullptr, "starting without its resources"},
    {"unload", 20, 32, nullptr, Unload,
     "after it was unloaded: the classic sign of a timer callback left behind"},
    {"load cycles", 60, 32, nullptr, Cycles, "in a load, play, unload cycle"},
};

Verdict RunCheck(const Check& check, const Subject& subject) {
  if (!StartAllegro(check.depth)) return Fail("no display for Allegro");
  // Allegro's own crash handlers shut it down first, which can fail in turn
  // and hide the signal; the report names the signal that really came.
  for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) std::signal(signal, SIG_DFL);
  if (check.loadsItself != nullptr) return check.loadsItself(subject);
  Loaded module(subject.module);
  if (!module.Ok()) return Fail(module.Error());
  return check.onModule(subject, module);
}

std::string Json(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      quoted += escaped;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

}  // namespace

int RunValidator(const Options& options) {
  fs::path module = fs::absolute(options.module);
  if (!fs::is_regular_file(module)) {
    throw HostError(kExitModuleUnloadable, "no game module at '" + options.module + "'");
  }
  Subject subject{module.string(), ResourceFolder(module.string()), options.seed};
  int passed = 0, failed = 0;
  std::string json;
  for (const Check& check : kChecks) {
    Verdict verdict = RunIsolated([&] { return RunCheck(check, subject); }, check.seconds);
    if (!verdict.passed && verdict.detail.rfind("crashed", 0) == 0) {
      verdict.detail += " " + std::string(check.whenItCrashes);
    }
    (verdict.passed ? passed : failed) += 1;
    if (options.json) {
      json += std::string(json.empty() ? "" : ",\n") + "    {\"name\": " + Json(check.name) +
              ", \"passed\": " + (verdict.passed ? "true" : "false") +
              ", \"detail\": " + Json(verdict.detail) + "}";
    } else {
      std::printf("%s  %s: %s\n", verdict.passed ? "PASS" : "FAIL", check.name,
                  verdict.detail.c_str());
      std::fflush(stdout);
    }
  }
  if (options.json) {
    std::printf(
        "{\n  \"module\": %s,\n  \"seed\": %u,\n  \"checks\": [\n%s\n  ],\n"
        "  \"passed\": %d,\n  \"failed\": %d\n}\n",
        Json(subject.module).c_str(), subject.seed, json.c_str(), passed, failed);
  } else {
    std::printf("%d passed, %d failed\n", passed, failed);
  }
  return failed == 0 ? kExitOk : kExitValidationFailed;
}
