#include "Watch.h"

#include <loadpng.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <thread>

#include "HostError.h"
#include "LetGo.h"
#include "ModuleBuilds.h"
#include "MousePlayer.h"
#include "Records.h"
#include "Screen.h"
#include "StopSignals.h"

namespace fs = std::filesystem;

namespace {

// How often the module file is looked at while the game plays: a new build
// plays within a second of its last write.
constexpr std::chrono::milliseconds kLookEvery(100);

// The first build, as the module file is now, once it has stopped changing.
std::string FirstBuild(ModuleBuilds& builds, const std::string& module) {
  for (int tries = 0; tries < 50; ++tries) {
    std::string why;
    if (std::optional<std::string> build = builds.NewBuild(why)) return *build;
    if (!why.empty()) throw HostError(kExitModuleUnloadable, why);
    std::this_thread::sleep_for(kLookEvery);
  }
  throw HostError(kExitModuleUnloadable, "'" + module + "' kept changing, or is not there");
}

class Watcher {
 public:
  Watcher(const std::string& module, const std::string& folder, const SessionSettings& settings,
          Progress* progress)
      : builds_(module, folder), settings_(settings), progress_(progress) {}

  int Run(const std::string& module, std::string note);

 private:
  // Plays a build until the player quits (answers the exit status) or a new
  // build is ready (empty). Where the build can't load or start, answers
  // why in `failed` instead.
  std::optional<int> Play(const std::string& build, const std::string& note, std::string& failed);
  // Waits, saying why, until a build comes that can be tried; empty when
  // the player quit.
  std::optional<std::string> Wait(const std::string& why);
  bool NextBuildReady();

  ModuleBuilds builds_;
  const SessionSettings& settings_;
  Progress* progress_;
  std::unique_ptr<Screen> screen_;
  std::unique_ptr<Records> records_;
  std::unique_ptr<MousePlayer> player_;
  std::optional<std::string> next_;  // the new build that ended the session
  std::chrono::steady_clock::time_point lookedAt_;
};

bool Watcher::NextBuildReady() {
  const auto now = std::chrono::steady_clock::now();
  if (now - lookedAt_ < kLookEvery) return false;
  lookedAt_ = now;
  std::string why;
  next_ = builds_.NewBuild(why);
  return next_.has_value();
}

std::optional<int> Watcher::Play(const std::string& build, const std::string& note,
                                 std::string& failed) {
  std::unique_ptr<GameModule> module;
  try {
    module = std::make_unique<GameModule>(build);
  } catch (const HostError& error) {
    failed = ModuleBuilds::Name(build) + " can't be loaded: " + WhyNotLoaded(error.what(), build);
    return std::nullopt;
  }
  SessionEnd end;
  {
    GameSession session(*module, settings_, *screen_, *player_, *records_, false, progress_);
    std::string why;
    if (!session.Start(why)) {
      failed = ModuleBuilds::Name(build) + " did not start: " + why;
    } else {
      builds_.Started(build);
      screen_->Name(session.Title() + " (" + ModuleBuilds::Name(build) + ")");
      session.Tell(note);
      session.StopWhen([this] { return NextBuildReady(); });
      next_.reset();
      end = session.Run();
    }
  }
  LetGoOf(std::move(module), *screen_, *player_);
  if (!failed.empty()) return std::nullopt;
  if (next_) return std::nullopt;
  return end.status;
}

std::optional<std::string> Watcher::Wait(const std::string& why) {
  Card card;
  card.top = 120;
  card.lines = {{why, 2, Tone::kWarning, 24}, {"Waiting for the next build...", 1, Tone::kLight}};
  card.footer = "Esc quits.";
  screen_->ForgetKeys();
  for (;;) {
    screen_->Show(card, StatusLine{});
    if (StopRequested() != 0 || screen_->CloseClicked()) return std::nullopt;
    for (Key key; (key = screen_->NextKey()) != Key::kNone;) {
      if (key == Key::kEscape) return std::nullopt;
    }
    if (NextBuildReady()) return next_;
  }
}

int Watcher::Run(const std::string& module, std::string note) {
  // After a crash, the last good build; else the module as it is now.
  std::optional<std::string> good = builds_.LastGood();
  std::string build = note.empty() || !good ? FirstBuild(builds_, module) : *good;
  // Named for the game once it plays.
  screen_ =
      std::make_unique<Screen>(fs::u8path(module).filename().u8string(), "", settings_.fullscreen,
                               settings_.scale, settings_.fps, settings_.verbose);
  // In place of Allegro's crash handler, as in the collection.
  if (progress_ != nullptr) progress_->WatchCrashes();
  register_png_file_type();
  records_ = std::make_unique<Records>(RecordKeeping(settings_));
  player_ = std::make_unique<MousePlayer>(screen_->GetView());
  for (;;) {
    std::string failed;
    if (std::optional<int> status = Play(build, note, failed)) return *status;
    if (failed.empty()) {  // a new build is ready
      build = *next_;
      note.clear();
      continue;
    }
    std::fprintf(stderr, "gamehost: %s\n", failed.c_str());
    // The last good build plays on, telling why; without one, a new build
    // is waited for.
    good = builds_.LastGood();
    note = failed;
    if (good && *good != build) {
      build = *good;
      note += "; " + ModuleBuilds::Name(build) + " plays";
      continue;
    }
    std::optional<std::string> next = Wait(failed);
    if (!next) return kExitOk;
    build = *next;
    note.clear();
  }
}

}  // namespace

int WatchModule(const std::string& module, const std::string& folder, const std::string& note,
                const SessionSettings& settings, Progress* progress) {
  return Watcher(module, folder, settings, progress).Run(module, note);
}

std::string NoteCrashedBuild(const std::string& module, const std::string& folder,
                             const std::string& why) {
  ModuleBuilds builds(module, folder);
  const std::string crashed = builds.CrashedLast();
  std::string note = (crashed.empty() ? "The game" : ModuleBuilds::Name(crashed)) + " " + why;
  const std::optional<std::string> good = builds.LastGood();
  if (good) note += "; " + ModuleBuilds::Name(*good) + " plays";
  return note;
}
