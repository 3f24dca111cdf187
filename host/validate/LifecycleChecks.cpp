// Init, Shutdown and the calling order around them.
#include <allegro.h>

#include <cstdio>
#include <filesystem>

#include "Checks.h"
#include "DrivenGame.h"
#include "GrowthSlope.h"
#include "ProcessInfo.h"
#include "ReportText.h"
#include "ScratchFolder.h"

namespace fs = std::filesystem;

namespace {

constexpr double kInitLimitMs = 100;
constexpr int kCycles = 60, kWarmUpCycles = 10, kFramesACycle = 10;
constexpr double kMostKbACycle = 1, kLeastGrowthKb = 48;
// Files opened once and kept (a cache, say) are no leak; one a cycle is.
constexpr int kMostFilesKept = 10;

}  // namespace

std::string InitInTime(const Subject& subject, Progress& progress) {
  auto module = LoadModule(subject.module, progress);
  DrivenGame game(*module, progress);
  game.SetPath(subject.module);
  // The module's own work, as for a frame: a busy machine is not its fault.
  const WorkTimer init;
  bool started = game.Init();
  const double ms = init.ElapsedMs();
  game.Shutdown();
  game.Destroy();
  if (!started) {
    throw CheckFailure("Init answered false with " + subject.resources +
                       "/games as the working folder's games/: keep the resources in games/" +
                       fs::u8path(subject.module).stem().u8string() + "/ beside the module");
  }
  if (ms > kInitLimitMs) {
    throw CheckFailure("Init took " + Milliseconds(ms, 1) + ", over the " +
                       Milliseconds(kInitLimitMs, 1) + " a host waits");
  }
  return "Init answered true in " + Milliseconds(ms, 1);
}

std::string Lifecycle(const Subject& subject, Progress& progress) {
  auto module = LoadModule(subject.module, progress);
  DrivenGame game(*module, progress);
  game.SetPath(subject.module);
  const fs::path working = fs::current_path();
  {
    ScratchFolder empty;
    fs::current_path(fs::u8path(empty.Path()));
    game.HostChanged();
    game.Init();
    game.Shutdown();  // after an Init that may have answered false
    fs::current_path(working);
    game.HostChanged();
  }
  const Bitmap picture = NewPicture();
  MouseSequence mouse(subject.seed);
  int32_t score = 0;
  for (int round = 1; round <= 2; ++round) {
    if (!game.Init()) throw CheckFailure("Init answered false after a Shutdown");
    game.Play(200, mouse, picture.get());
    game.Shutdown();
    score = game.GetScore("after Shutdown");
    progress.Call("QueryA after Shutdown");
    game.Game().QueryA();
    progress.Returned();
  }
  game.Destroy();
  return "Shutdown after false and true Inits, Init again, GetScore after Shutdown (" +
         std::to_string(score) + "), destroyed when stopped";
}

// Nothing requires resources; a game that starts without them must then run
// safely.
std::string WithoutResources(const Subject& subject, Progress& progress) {
  auto module = LoadModule(subject.module, progress);
  ScratchFolder empty;
  fs::current_path(fs::u8path(empty.Path()));
  DrivenGame game(*module, progress);
  game.SetPath((fs::u8path(empty.Path()) / fs::u8path(subject.module).filename()).u8string());
  bool started = game.Init();
  if (started) {
    const Bitmap picture = NewPicture();
    MouseSequence mouse(subject.seed);
    game.Play(300, mouse, picture.get());
  }
  game.Shutdown();
  game.Destroy();
  return started ? "Init answered true in an empty folder; 300 frames ran without resources"
                 : "Init answered false in an empty folder";
}

// What Init acquires, Shutdown must release: memory may not grow cycle by
// cycle.
std::string InitShutdownCycles(const Subject& subject, Progress& progress) {
  auto module = LoadModule(subject.module, progress);
  DrivenGame game(*module, progress);
  game.SetPath(subject.module);
  const Bitmap picture = NewPicture();
  MouseSequence mouse(subject.seed);
  GrowthSlope growth;
  int openBefore = 0;
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    progress.Step("between calls in Init/Shutdown cycle " + std::to_string(cycle));
    if (!game.Init()) throw CheckFailure("Init answered false in cycle " + std::to_string(cycle));
    game.Play(kFramesACycle, mouse, picture.get());
    game.Shutdown();
    if (cycle == kWarmUpCycles - 1) openBefore = OpenDescriptorCount();
    if (cycle >= kWarmUpCycles) growth.Sample(cycle, double(SettledResidentKilobytes()));
  }
  game.Destroy();
  const int kept = OpenDescriptorCount() - openBefore;
  if (kept >= kMostFilesKept) {
    throw CheckFailure(std::to_string(kept) + " more files open after cycles " +
                       std::to_string(kWarmUpCycles) + "-" + std::to_string(kCycles - 1) +
                       " than before: something Init opens, Shutdown does not close");
  }
  std::string grew = "resident memory " + growth.Describe("cycle", "cycles") + " of Init, " +
                     std::to_string(kFramesACycle) + " frames, Shutdown";
  if (kMemoryJudged && growth.Exceeds(kMostKbACycle, kLeastGrowthKb)) {
    throw CheckFailure(grew + ": something Init (or a frame) acquires outlives Shutdown");
  }
  return grew + (kMemoryJudged ? "" : " (not judged under AddressSanitizer)");
}
