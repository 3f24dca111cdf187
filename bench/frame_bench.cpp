// What a frame costs: the game's Update and Draw against the floor, the same
// Allegro calls made directly on the benchmark's own bitmaps, at 32 and 16
// bits per pixel and several numbers of targets in flight; and Molehill's
// against the same floor. Also the cost of Init with the real datafile, and
// heap allocations in frames without a spawn.
#include <allegro.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "AllegroStart.h"
#include "Bitmap.h"
#include "Field.h"
#include "Flintmoor.h"
#include "FlintmoorProbe.h"
#include "GameModule.h"
#include "GamehostWindow.h"
#include "TickClock.h"

// Every operator new in the process, counted. (The compiler can't tell that
// this new and delete are a matching pair built on malloc and free.)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
static std::atomic<long> allocations{0};
void* operator new(size_t size) {
  ++allocations;
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, size_t) noexcept {
  std::free(block);
}

namespace {

constexpr int kBatch = 150;  // frames before the targets are placed again

// A started game at a colour depth, its clock frozen so no frame spawns.
struct Bench {
  explicit Bench(int depth) {
    set_color_depth(depth);
    if (!game.Init()) {
      std::fprintf(stderr, "Init failed: run from the build folder\n");
      std::exit(1);
    }
    FlintmoorProbe::FreezeClock();
    destination = create_bitmap(640, 480);
  }
  // Targets spread over the sky's middle, half flying each way, so none
  // leaves within a batch of frames.
  void Place(int count) {
    auto& targets = probe.targets();
    targets.clear();
    for (int i = 0; i < count; ++i) {
      targets.push_back(std::make_unique<Target>());
      Target& target = *targets.back();
      target.x = 150 + i % 21;
      target.y = (i * 37) % 216;
      target.dir = i % 2 ? -1 : +1;
      target.frame = i % 2;
      target.hit = i % 3 == 0;
    }
  }
  Flintmoor game;
  FlintmoorProbe probe{game};
  BITMAP* destination;
};

Bench& At(int depth) {
  static std::map<int, std::unique_ptr<Bench>> benches;
  auto& bench = benches[depth];
  if (!bench) bench = std::make_unique<Bench>(depth);
  set_color_depth(depth);
  return *bench;
}

void BM_Update(benchmark::State& state) {
  Bench& bench = At(int(state.range(0)));
  const int targets = int(state.range(1));
  MouseInput mouse{321, 241, 0};
  long allocationsInFrames = 0;
  int frame = 0;
  while (state.KeepRunning()) {
    if (frame++ % kBatch == 0) {
      state.PauseTiming();
      bench.Place(targets);
      state.ResumeTiming();
    }
    tickCount.store(0, std::memory_order_relaxed);
    mouse.buttons = frame % 8 == 0;  // a click now and then
    long before = allocations;
    benchmark::DoNotOptimize(bench.game.Update(0, &mouse));
    allocationsInFrames += allocations - before;
  }
  state.counters["allocs_per_frame"] = double(allocationsInFrames) / double(state.iterations());
}

void BM_Draw(benchmark::State& state) {
  Bench& bench = At(int(state.range(0)));
  bench.Place(int(state.range(1)));
  long before = allocations;
  while (state.KeepRunning()) bench.game.Draw(bench.destination);
  state.counters["allocs_per_frame"] = double(allocations - before) / double(state.iterations());
}

// The floor: the Allegro calls a frame must make, on the benchmark's own
// bitmaps, with the colours made beforehand, for the targets Place makes.
class Floor {
 public:
  Floor(DATAFILE* data, int targets) : data_(data), targets_(targets) {
    for (int row = 0; row < 240; ++row) colours_[row] = makecol(100, 160, 255 - row / 16);
    black_ = makecol(0, 0, 0);
  }
  ~Floor() {
    destroy_bitmap(sky_);
    destroy_bitmap(destination_);
  }
  void Frame() {
    for (int row = 0; row < 240; ++row) hline(sky_, 0, row, 319, colours_[row]);
    for (int i = 0; i < targets_; ++i) {
      BITMAP* sprite = static_cast<BITMAP*>(data_[i % 2 + (i % 3 == 0 ? 2 : 0)].dat);
      int x = 150 + i % 21, y = (i * 37) % 216;
      if (i % 2) {
        draw_sprite_h_flip(sky_, sprite, x, y);
      } else {
        draw_sprite(sky_, sprite, x, y);
      }
    }
    textprintf_ex(sky_, font, 0, 1, black_, -1, "Score: %d", 0);
    stretch_blit(sky_, destination_, 0, 0, 320, 240, 0, 0, 640, 480);
  }

 private:
  DATAFILE* data_;
  int targets_;
  BITMAP* sky_ = create_bitmap(320, 240);
  BITMAP* destination_ = create_bitmap(640, 480);
  int colours_[240];
  int black_;
};

void BM_Floor(benchmark::State& state) {
  Bench& bench = At(int(state.range(0)));
  Floor floor(bench.probe.data(), int(state.range(1)));
  while (state.KeepRunning()) floor.Frame();
}

double Median(std::vector<double>& samples) {
  std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
  return samples[samples.size() / 2];
}

// A game's frame and the floor's, timed in turns so both see the same
// machine; the ratio of their medians is what the module adds.
template <typename GameFrame>
void TimeAgainstTheFloor(benchmark::State& state, GameFrame gameFrame, Floor& floor) {
  using Clock = std::chrono::steady_clock;
  std::vector<double> game, bare;
  while (state.KeepRunning()) {
    auto start = Clock::now();
    gameFrame();
    auto middle = Clock::now();
    floor.Frame();
    auto end = Clock::now();
    game.push_back(std::chrono::duration<double, std::nano>(middle - start).count());
    bare.push_back(std::chrono::duration<double, std::nano>(end - middle).count());
  }
  const double gameNs = Median(game), floorNs = Median(bare);
  state.counters["game_ns"] = gameNs;
  state.counters["floor_ns"] = floorNs;
  state.counters["ratio"] = gameNs / floorNs;
}

// Flintmoor's frame (Update and Draw) against the floor for its targets.
void BM_FrameRatio(benchmark::State& state) {
  Bench& bench = At(int(state.range(0)));
  const int targets = int(state.range(1));
  Floor floor(bench.probe.data(), targets);
  MouseInput mouse{321, 241, 0};
  int frame = 0;
  auto gameFrame = [&] {
    if (frame++ % kBatch == 0) bench.Place(targets);
    tickCount.store(0, std::memory_order_relaxed);
    bench.game.Update(0, &mouse);
    bench.game.Draw(bench.destination);
  };
  TimeAgainstTheFloor(state, gameFrame, floor);
}

// Molehill, the collection's second game, loaded as a host loads it and
// drawn into a destination the size of gamehost's window at 2x. A player
// clicks every molehill in turn, a click every other frame, so the mallet
// is always swinging and moles are bonked as they come; a minute of that
// first brings the moles at their fastest. Its floor is Flintmoor's with
// no targets: a 320x240 picture painted, its score printed, shown doubled.
constexpr int kMolehillWarmUpFrames = 3600;

MouseInput ClickingEveryMolehill(int frame) {
  const Hole& hole = kHoles[frame / 2 % kHoleCount];
  return MouseInput{hole.x * 2, (hole.lip - kMoleHeight / 2) * 2, frame % 2 == 0};
}

void BM_MolehillFrameRatio(benchmark::State& state) {
  Bench& flintmoor = At(int(state.range(0)));  // the colour depth, and the floor's Allegro
  Floor floor(flintmoor.probe.data(), 0);
  GameModule module(MOLEHILL_MODULE_PATH);
  std::unique_ptr<IGame> game = module.NewGame();
  if (!game->Init()) {
    state.SkipWithError("Molehill's Init failed: run from the build folder");
    return;
  }
  const Bitmap destination(create_bitmap(GamehostWindowWidth(2), GamehostWindowHeight(2)));
  int frame = 0;
  auto gameFrame = [&] {
    MouseInput mouse = ClickingEveryMolehill(frame++);
    game->Update(0, &mouse);
    game->Draw(destination.get());
  };
  for (int i = 0; i < kMolehillWarmUpFrames; ++i) gameFrame();
  TimeAgainstTheFloor(state, gameFrame, floor);
  game->Shutdown();
}

void BM_InitShutdown(benchmark::State& state) {
  set_color_depth(int(state.range(0)));
  Flintmoor game;
  while (state.KeepRunning()) {
    if (!game.Init()) state.SkipWithError("Init failed");
    game.Shutdown();
  }
}

void Frames(benchmark::internal::Benchmark* bench) {
  for (int depth : {32, 16}) {
    for (int targets : {0, 50, 150, 400}) bench->Args({depth, targets});
  }
  bench->ArgNames({"bpp", "targets"});
}

BENCHMARK(BM_Update)->Apply(Frames);
BENCHMARK(BM_Draw)->Apply(Frames);
BENCHMARK(BM_Floor)->Apply(Frames);
BENCHMARK(BM_FrameRatio)->Apply(Frames);
BENCHMARK(BM_MolehillFrameRatio)->Arg(32)->Arg(16)->ArgName("bpp");
BENCHMARK(BM_InitShutdown)->Arg(32)->Arg(16)->ArgName("bpp")->Unit(benchmark::kMillisecond);

// Keeps each run's time and counters, for the summary table.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      Result& result = results[run.run_name.str()];
      result.ns = run.GetAdjustedRealTime();
      for (const auto& [name, counter] : run.counters) result.counters[name] = counter.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  struct Result {
    double ns = 0;
    std::map<std::string, double> counters;
  };
  std::map<std::string, Result> results;
};

}  // namespace

int main(int argc, char** argv) {
  if (!StartAllegroLibrary()) {
    std::fprintf(stderr, "allegro_init failed (no X display?)\n");
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n%4s %8s %10s %14s %10s %12s %12s %7s %13s\n", "bpp", "targets", "update ns",
              "ns per target", "draw ns", "frame ns", "floor ns", "ratio", "allocs/frame");
  for (int depth : {32, 16}) {
    for (int targets : {0, 50, 150, 400}) {
      std::string args = "/bpp:" + std::to_string(depth) + "/targets:" + std::to_string(targets);
      auto& results = reporter.results;
      if (!results.count("BM_FrameRatio" + args)) continue;
      auto& ratio = results["BM_FrameRatio" + args].counters;
      double update = results["BM_Update" + args].ns;
      double allocations = results["BM_Update" + args].counters["allocs_per_frame"] +
                           results["BM_Draw" + args].counters["allocs_per_frame"];
      std::printf("%4d %8d %10.0f %14.2f %10.0f %12.0f %12.0f %7.3f %13.0f\n", depth, targets,
                  update, targets ? update / targets : 0.0, results["BM_Draw" + args].ns,
                  ratio["game_ns"], ratio["floor_ns"], ratio["ratio"], allocations);
    }
  }
  std::printf("\nMolehill, a busy meadow, into gamehost's window at 2x:\n%4s %12s %12s %7s\n",
              "bpp", "frame ns", "floor ns", "ratio");
  for (int depth : {32, 16}) {
    auto found = reporter.results.find("BM_MolehillFrameRatio/bpp:" + std::to_string(depth));
    if (found == reporter.results.end()) continue;
    auto& ratio = found->second.counters;
    std::printf("%4d %12.0f %12.0f %7.3f\n", depth, ratio["game_ns"], ratio["floor_ns"],
                ratio["ratio"]);
  }
  return 0;
}
