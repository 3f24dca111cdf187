// Frames as a host runs them: edge and random mouse input, Draw into a
// destination larger than the picture, each frame timed, memory read as it
// goes.
#include <allegro.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "Checks.h"
#include "DrivenGame.h"
#include "GrowthSlope.h"
#include "ProcessInfo.h"
#include "ReportText.h"

namespace {

constexpr int kFrames = 3000;
constexpr int kWidth = kGamePictureWidth, kHeight = kGamePictureHeight, kMargin = 48;
constexpr int kPaintEvery = 100;  // frames between looks at what Draw painted
constexpr double kFrameMs = 1000.0 / 60;
constexpr int kSlowFramesTolerated = kFrames / 100;  // a busy machine's hiccups
constexpr int kMemoryFrom = 500, kMemoryEvery = 50;
constexpr double kMostKbAFrame = 0.05, kLeastGrowthKb = 64;

std::string At(int x, int y) {
  return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

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

// Draw must paint all of 640x480 at the destination's top left and nothing
// beyond it. Before some frames the picture is filled with one of two
// colours no game draws on purpose; a pixel still showing its fill colour
// after Draw in a frame of each is one Draw does not paint.
class PaintWatch {
 public:
  explicit PaintWatch(BITMAP* destination)
      : destination_(destination),
        untouched_(makecol(3, 254, 7)),
        fills_{makecol(254, 3, 250), makecol(5, 9, 251)},
        leftAlone_(2, std::vector<bool>(size_t(kWidth) * kHeight)) {
    clear_to_color(destination_, untouched_);
  }
  void BeforeDraw(int frame) {
    if (frame % kPaintEvery == 0) {
      rectfill(destination_, 0, 0, kWidth - 1, kHeight - 1, fills_[Sample(frame) % 2]);
    }
  }
  // Throws CheckFailure.
  void AfterDraw(int frame) {
    if (frame % kPaintEvery != 0) return;
    const int which = Sample(frame) % 2;
    const int fill = fills_[which];
    int unpainted = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        bool left = getpixel(destination_, x, y) == fill;
        leftAlone_[size_t(which)][size_t(y) * kWidth + size_t(x)] = left;
        if (left && Sample(frame) > 0 &&
            leftAlone_[size_t(1 - which)][size_t(y) * kWidth + size_t(x)]) {
          if (unpainted++ == 0) {
            firstX = x;
            firstY = y;
          }
        }
      }
    }
    if (unpainted > 0) {
      throw CheckFailure(
          "Draw left " + std::to_string(unpainted) + " of " + std::to_string(kWidth * kHeight) +
          " pixels of the picture unpainted in frames " + std::to_string(frame - kPaintEvery) +
          " and " + std::to_string(frame) + ", first at " + At(firstX, firstY) +
          ": Draw must paint the whole 640x480 picture into the destination it is given");
    }
    for (int y = 0; y < destination_->h; ++y) {
      for (int x = y < kHeight ? kWidth : 0; x < destination_->w; ++x) {
        if (getpixel(destination_, x, y) != untouched_) {
          throw CheckFailure("Draw wrote at " + At(x, y) +
                             ", outside the 640x480 picture, by frame " + std::to_string(frame));
        }
      }
    }
  }

 private:
  static int Sample(int frame) { return frame / kPaintEvery; }

  BITMAP* destination_;
  int untouched_;
  int fills_[2];
  std::vector<std::vector<bool>> leftAlone_;  // per fill colour, per pixel
};

}  // namespace

std::string Frames(const Subject& subject, Progress& progress) {
  auto module = LoadModule(subject.module, progress);
  DrivenGame game(*module, progress);
  game.SetPath(subject.module);
  if (!game.Init()) throw CheckFailure("Init answered false (see the Init in time check)");
  const int depth = get_color_depth();
  const Bitmap destination(create_bitmap(kWidth + kMargin, kHeight + kMargin));
  PaintWatch paint(destination.get());
  MouseSequence mouse(subject.seed + unsigned(depth));
  FrameCosts costs;
  GrowthSlope growth;
  for (int frame = 0; frame < kFrames; ++frame) {
    paint.BeforeDraw(frame);
    costs.Add(frame, game.Frame(frame, mouse.Next(), destination.get()));
    if (costs.TooSlow()) throw CheckFailure(costs.SlowReport());
    paint.AfterDraw(frame);
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
