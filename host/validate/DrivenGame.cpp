#include "DrivenGame.h"

#include <allegro.h>
#include <allegro/internal/aintern.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "Checks.h"
#include "HostError.h"
#include "HostState.h"
#include "ProcessInfo.h"
#include "ReportText.h"
#include "SharedLibrary.h"

namespace {

// One frame longer than this is a stall a player sees, however fast the rest.
constexpr double kSlowestFrameMs = 100;

}  // namespace

std::string DescribeMouse(const MouseInput& mouse) {
  char text[96];
  std::snprintf(text, sizeof text, "(%d, %d, buttons %d)", mouse.x, mouse.y, mouse.buttons);
  return text;
}

Bitmap NewPicture() {
  return Bitmap(create_bitmap(kGamePictureWidth, kGamePictureHeight));
}

LoadedModule LoadModule(const std::string& path, Progress& progress, const std::string& when) {
  progress.Call("loading the module" + when + " (its static constructors)");
  try {
    LoadedModule module(new GameModule(path), LeaveLoaded{&progress});
    progress.Returned();
    return module;
  } catch (const HostError& error) {
    throw CheckFailure(error.what());
  }
}

namespace {

// The module's callbacks in Allegro's timer queue.
std::vector<const void*> TimerCallbacksOf(const GameModule& module) {
  std::vector<const void*> callbacks;
  for (int slot = 0; slot < MAX_TIMERS; ++slot) {
    for (const void* callback : {reinterpret_cast<const void*>(_timer_queue[slot].proc),
                                 reinterpret_cast<const void*>(_timer_queue[slot].param_proc)}) {
      if (module.Holds(callback)) callbacks.push_back(callback);
    }
  }
  return callbacks;
}

bool StillInTimerQueue(const std::vector<const void*>& callbacks) {
  for (int slot = 0; slot < MAX_TIMERS; ++slot) {
    for (const void* callback : callbacks) {
      if (reinterpret_cast<const void*>(_timer_queue[slot].proc) == callback ||
          reinterpret_cast<const void*>(_timer_queue[slot].param_proc) == callback) {
        return true;
      }
    }
  }
  return false;
}

// Why the module stayed loaded: the symbols that pin it where it has such,
// else what can.
std::string StillLoaded(const std::string& path, const std::string& when) {
  const std::string stayed = std::string("still loaded after ") + SharedLibrary::kUnloadCall + when;
  const std::vector<std::string> symbols = SharedLibrary::PinningSymbols(path);
  if (symbols.empty()) {
    return stayed + ": something keeps it loaded, likely " + SharedLibrary::kKeptBy;
  }
  constexpr size_t kNamed = 4;
  std::string names;
  for (size_t i = 0; i < symbols.size() && i < kNamed; ++i) {
    names += (i == 0 ? "" : ", ") + symbols[i];
  }
  if (symbols.size() > kNamed)
    names += ", and " + std::to_string(symbols.size() - kNamed) + " more";
  return stayed + ": " + std::to_string(symbols.size()) +
         " STB_GNU_UNIQUE symbol(s) keep it loaded, which the loader never unloads: " + names +
         " (GCC makes them for static variables of inline functions and templates, "
         "std::to_string's among them; build with -fno-gnu-unique, as the kit's CMake target "
         "and pkg-config file do)";
}

}  // namespace

void UnloadNow(LoadedModule& module, const std::string& when) {
  Progress& progress = *module.get_deleter().progress;
  const std::vector<const void*> callbacks = TimerCallbacksOf(*module);
  // Its static destructors may still remove them; if not, Allegro's timer
  // thread may crash into unloaded code before the queue can be looked at.
  const std::string seen = callbacks.empty()
                               ? "a timer callback or a thread it left behind?"
                               : std::to_string(callbacks.size()) +
                                     " timer callback(s) of the module's were still installed "
                                     "after Shutdown and delete" +
                                     when;
  progress.Call(std::string(SharedLibrary::kUnloadCall) + when +
                " (the module's static destructors" + (callbacks.empty() ? "" : ", " + seen) + ")");
  const std::string path = module->Path();
  const bool left = module->Unload();
  delete module.release();
  progress.Step("after the module was unloaded" + when + ": something of it ran on (" + seen + ")");
  if (!left) throw CheckFailure(StillLoaded(path, when));
  if (StillInTimerQueue(callbacks)) {
    throw CheckFailure(
        "a timer callback of the module's stayed installed after Shutdown, delete and unloading" +
        when +
        ": remove_int what it installed (in Shutdown, or a static destructor), or Allegro's "
        "timer thread calls into unloaded code");
  }
}

DrivenGame::DrivenGame(const GameModule& module, Progress& progress)
    : progress_(progress), host_(CurrentHostState()), children_(ChildProcesses()) {
  progress_.Call("GetPlugin");
  game_ = module.NewGame().release();
  if (game_ == nullptr) throw CheckFailure("GetPlugin answered null");
  Returned("GetPlugin");
}

void DrivenGame::SetPath(const std::string& path) {
  progress_.Call("SetPath(\"" + path + "\")");
  game_->SetPath(path.c_str());
  Returned("SetPath");
}

bool DrivenGame::Init() {
  progress_.Call("Init");
  bool started = game_->Init();
  Returned("Init");
  return started;
}

void DrivenGame::Shutdown() {
  progress_.Call("Shutdown");
  game_->Shutdown();
  Returned("Shutdown");
  if (const int voices = PlayingVoices(); voices > 0) {
    throw CheckFailure("Shutdown left " + std::to_string(voices) +
                       " voice(s) playing: stop what the game plays (stop_sample, or "
                       "destroy_sample) before Shutdown returns, or the mixer plays freed memory");
  }
  std::vector<long> children;
  for (long child : ChildProcesses()) {
    if (std::find(children_.begin(), children_.end(), child) == children_.end()) {
      children.push_back(child);
    }
  }
  if (!children.empty()) {
    std::string pids;
    for (long pid : children) pids += (pids.empty() ? "" : ", ") + std::to_string(pid);
    throw CheckFailure("Shutdown left " + std::to_string(children.size()) +
                       " process(es) the module started running (" + pids +
                       "): end them and wait for them before Shutdown returns");
  }
}

std::string DrivenGame::Identity() {
  progress_.Call("the identity operations");
  std::string answers;
  for (const char* answer : {game_->GetName(), game_->GetAuthor(), game_->GetDescription(),
                             game_->GetVersion(), game_->GetIcon()}) {
    answers += std::string(answers.empty() ? "" : " | ") + (answer != nullptr ? answer : "(null)");
  }
  Returned("the identity operations");
  return answers;
}

int32_t DrivenGame::GetScore(const char* when) {
  progress_.Call(std::string("GetScore ") + when);
  int32_t score = game_->GetScore();
  Returned(std::string("GetScore ") + when);
  return score;
}

double DrivenGame::Frame(int frame, const MouseInput& mouse, BITMAP* destination) {
  // A fresh MouseInput each frame, readable only while Update runs.
  const int page = frame % 2;
  auto* given = new (mice_.Lend(page)) MouseInput(mouse);
  const std::string update = "Update at frame " + std::to_string(frame);
  progress_.Call(update + ", mouse " + DescribeMouse(mouse));
  const WorkTimer updateTime;
  const int32_t escaped = game_->Update(0, given);
  const double updateMs = updateTime.ElapsedMs();
  Returned(update);
  const MouseInput after = *given;
  mice_.TakeBack(page);
  // (Made once: this runs at every frame.)
  static const std::string kMouseTakenBack =
      "the MouseInput lent to an Update after that Update returned: the pointer is the host's "
      "only while Update runs, so copy what the game needs of it";
  progress_.TakenBack(mice_.Begin(), mice_.End(), kMouseTakenBack);
  if (std::memcmp(&after, &mouse, sizeof mouse) != 0) {
    throw CheckFailure(
        update + " wrote to the MouseInput the host gave it: " + DescribeMouse(mouse) + " became " +
        DescribeMouse(after) + " (the record is the host's, read only)");
  }
  if (escaped != 0 && escaped != 1) {
    throw CheckFailure(update + ", mouse " + DescribeMouse(mouse) + ", answered " +
                       std::to_string(escaped) +
                       ": the escape report is 1 in a frame in which a target escaped, else 0, "
                       "and nothing else (a host counts escapes with it)");
  }
  progress_.Call("Draw at frame " + std::to_string(frame) + ", after mouse " +
                 DescribeMouse(mouse));
  const WorkTimer draw;
  game_->Draw(destination);
  const double ms = updateMs + draw.ElapsedMs();
  Returned("Draw at frame " + std::to_string(frame));
  if (timeJudged_ && ms > kSlowestFrameMs) {
    throw CheckFailure("Update and Draw at frame " + std::to_string(frame) + ", mouse " +
                       DescribeMouse(mouse) + ", took " + Milliseconds(ms) + ", over " +
                       Milliseconds(kSlowestFrameMs, 0) +
                       ": a player sees the game stop (a frame is 16.7 ms at 60 frames a second; "
                       "load what a frame needs in Init)");
  }
  return ms;
}

void DrivenGame::Play(int frames, MouseSequence& mouse, BITMAP* destination) {
  for (int frame = 0; frame < frames; ++frame) Frame(frame, mouse.Next(), destination);
}

void DrivenGame::Destroy() {
  progress_.Call("the game's destructor (delete)");
  delete game_;
  game_ = nullptr;
  Returned("the game's destructor");
}

void DrivenGame::Returned(const std::string& call) {
  progress_.Returned();
  std::string changes = HostStateChanges(host_, CurrentHostState());
  if (!changes.empty()) {
    throw CheckFailure(call + " changed " + changes +
                       ": these are the host's, a module must leave them as it found them");
  }
}
