// Frames as a host runs them: edge and random mouse input, Draw into a
// destination larger than the picture, each frame timed, memory read as it
// goes.
#include <allegro.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "Checks.h"
#include "DrivenGame.h"
#include "GrowthSlope.h"
#include "PaintWatch.h"
#include "ProcessInfo.h"
#include "ReportText.h"

namespace {

constexpr int kFrames = 3000;
constexpr double kFrameMs = 1000.0 / 60;
constexpr int kSlowFramesTolerated = kFrames / 100;  // a busy machine's hiccups
constexpr int kMemoryFrom = 500, kMemoryEvery = 50;
constexpr double kMostKbAFrame = 0.05, kLeastGrowthKb = 64;
// A long play at full speed, as long as either allows: memory is judged over
// its later half, where growth that begins late shows. Under AddressSanitizer,
// where memory is not judged, a tenth of it.
constexpr int kLongFrames = kMemoryJudged ? 20000 : 2000;
constexpr double kLongSeconds = 20;
constexpr int kLongMemoryEvery = 100;

// Per frame, Update and Draw together.
class FrameCosts {
 public:
  FrameCosts() { costs_.reserve(kFrames); }  // the validator's own memory stays flat
  void Add(int frame, double ms) {
    costs_.push_back(ms);
    if (ms > worst_) {
      worst_ = ms;
      worstFrame_ = frame;
    }
    if (ms > kFrameMs) ++slow_;
  }
  bool TooSlow() const { return slow_ > kSlowFramesTolerated; }
  std::string Describe() const {
    std::vector<double> sorted = costs_;
    std::nth_element(sorted.begin(), sorted.begin() + long(sorted.size() / 2), sorted.end());
    return "Update+Draw median " + Milliseconds(sorted[sorted.size() / 2]) + ", worst " +
           Milliseconds(worst_) + " (frame " + std::to_string(worstFrame_) + ")";
  }
  std::string SlowReport() const {
    return std::to_string(slow_) + " of the first " + std::to_string(costs_.size()) +
           " frames took over " + Milliseconds(kFrameMs) + " (" + Describe() +
           "): too slow for 60 frames a second";
  }

 private:
  std::vector<double> costs_;
  double worst_ = 0;
  int worstFrame_ = 0;
  int slow_ = 0;
};

}  // namespace

std::string Frames(const Subject& subject, Progress& progress) {
  auto module = LoadModule(subject.module, progress);
  DrivenGame game(*module, progress);
  game.SetPath(subject.module);
  if (!game.Init()) throw CheckFailure("Init answered false (see the Init in time check)");
  const int depth = get_color_depth();
  PaintWatch paint;
  MouseSequence mouse(subject.seed + unsigned(depth));
  FrameCosts costs;
  GrowthSlope growth;
  for (int frame = 0; frame < kFrames; ++frame) {
    paint.BeforeDraw(frame);
    const MouseInput input = mouse.Next();
    costs.Add(frame, game.Frame(frame, input, paint.Destination()));
    if (costs.TooSlow()) throw CheckFailure(costs.SlowReport());
    paint.AfterDraw(frame, input);
    if (frame >= kMemoryFrom && frame % kMemoryEvery == 0) {
      growth.Sample(frame, double(SettledResidentKilobytes()));
    }
  }
  game.Shutdown();
  game.Destroy();
  std::string memory = "resident memory " + growth.Describe("frame", "frames");
  if (kMemoryJudged && growth.Exceeds(kMostKbAFrame, kLeastGrowthKb)) {
    throw CheckFailure(memory + ": Update or Draw keeps memory it allocates");
  }
  return std::to_string(kFrames) + " frames of edge and random input at " + std::to_string(depth) +
         " bits per pixel; Draw painted 640x480 and nothing beyond; " + costs.Describe() + "; " +
         memory + (kMemoryJudged ? "" : " (not judged under AddressSanitizer)");
}

std::string LongPlay(const Subject& subject, Progress& progress) {
  auto module = LoadModule(subject.module, progress);
  DrivenGame game(*module, progress);
  game.SetPath(subject.module);
  if (!game.Init()) throw CheckFailure("Init answered false (see the Init in time check)");
  game.LeaveTimeUnjudged();  // the frames checks judge it
  const Bitmap picture = NewPicture();
  MouseSequence mouse(subject.seed);
  GrowthSlope growth;
  using Clock = std::chrono::steady_clock;
  const Clock::time_point started = Clock::now();
  const auto seconds = [&] {
    return std::chrono::duration<double>(Clock::now() - started).count();
  };
  int frames = 0;
  for (; frames < kLongFrames && seconds() < kLongSeconds; ++frames) {
    game.Frame(frames, mouse.Next(), picture.get());
    if (frames >= kMemoryFrom && frames % kLongMemoryEvery == 0) {
      growth.Sample(frames, double(SettledResidentKilobytes()));
    }
  }
  const double played = seconds();
  game.Shutdown();
  game.Destroy();
  const GrowthSlope later = growth.From(frames / 2.0);
  const std::string memory = "resident memory " + later.Describe("frame", "frames");
  if (kMemoryJudged && later.Exceeds(kMostKbAFrame, kLeastGrowthKb)) {
    throw CheckFailure(memory +
                       " of a long play: Update or Draw keeps memory it allocates, "
                       "from some frame on");
  }
  char time[32];
  std::snprintf(time, sizeof time, "%.1f s", played);
  return std::to_string(frames) + " frames at full speed in " + time + "; " + memory +
         (kMemoryJudged ? "" : " (not judged under AddressSanitizer)");
}
