// Unloading: after Shutdown and delete nothing of the module may still run,
// and loading it again and again must not grow the host.
#include <allegro.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "Checks.h"
#include "DrivenGame.h"
#include "GrowthSlope.h"
#include "ProcessInfo.h"
#include "SharedLibrary.h"

namespace {

constexpr int kQuietMs = 300;
constexpr int kCycles = 30, kWarmUpCycles = 5, kFramesACycle = 20;
constexpr double kMostKbACycle = 4, kLeastGrowthKb = 64;

std::atomic<int> hostTicks{0};
void CountHostTick() {
  ++hostTicks;
}

// A game of the module played, stopped and destroyed.
void PlayOnce(const GameModule& module, const Subject& subject, Progress& progress, int frames,
              unsigned seed) {
  DrivenGame game(module, progress);
  game.SetPath(subject.module);
  if (game.Init()) {
    const Bitmap picture = NewPicture();
    MouseSequence mouse(seed);
    game.Play(frames, mouse, picture.get());
  }
  game.Shutdown();
  game.Destroy();
}

}  // namespace

std::string Unload(const Subject& subject, Progress& progress) {
  if (install_int(CountHostTick, 1) != 0) throw CheckFailure("can't install a timer callback");
  const int threadsBefore = ThreadCount();
  auto module = LoadModule(subject.module, progress);
  const int threadsLoaded = ThreadCount();
  PlayOnce(*module, subject, progress, 100, subject.seed);
  const int threadsStopped = ThreadCount();
  if (threadsStopped > threadsLoaded) {
    throw CheckFailure(std::to_string(threadsStopped - threadsLoaded) +
                       " thread(s) started by Init or a frame still run after Shutdown and delete "
                       "(" +
                       std::to_string(threadsLoaded) + " threads before Init, " +
                       std::to_string(threadsStopped) +
                       " after): stop and join them in Shutdown, or they run into unloaded code");
  }
  UnloadNow(module);
  const int threadsAfter = ThreadCount();
  if (threadsAfter > threadsBefore) {
    throw CheckFailure(std::to_string(threadsAfter - threadsBefore) +
                       " thread(s) the module started when loaded still run after unloading (" +
                       std::to_string(threadsBefore) + " threads before it was loaded, " +
                       std::to_string(threadsAfter) +
                       " after): join them in a static destructor, or they run into unloaded code");
  }
  progress.Step("while waiting " + std::to_string(kQuietMs) +
                " ms after the module was unloaded, with no thread or timer callback of it seen "
                "(a signal or exit handler it installed?)");
  std::this_thread::sleep_for(std::chrono::milliseconds(kQuietMs));
  return "nothing of the module ran on after unloading; " + std::to_string(kQuietMs) +
         " ms quiet with Allegro's timer running";
}

std::string LoadCycles(const Subject& subject, Progress& progress) {
  GrowthSlope growth;
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    progress.Step("between calls in load cycle " + std::to_string(cycle));
    auto module = LoadModule(subject.module, progress);
    PlayOnce(*module, subject, progress, kFramesACycle, subject.seed + unsigned(cycle));
    UnloadNow(module, " in load cycle " + std::to_string(cycle));
    if (cycle >= kWarmUpCycles) growth.Sample(cycle, double(SettledResidentKilobytes()));
  }
  std::string grew =
      "resident memory " + growth.Describe("cycle", "cycles") + " of load, play, unload";
  if (kMemoryJudged && growth.Exceeds(kMostKbACycle, kLeastGrowthKb)) {
    throw CheckFailure(grew + ": something of each load outlives the unload" +
                       SharedLibrary::kKeepsAtEachLoad);
  }
  return grew + (kMemoryJudged ? "" : " (not judged under AddressSanitizer)");
}
