#include "Player.h"

#include <allegro.h>

#include <algorithm>
#include <atomic>
#include <cmath>

namespace {

// Set by Allegro's mouse thread at every button press, taken by the frame.
std::atomic<bool> pressedSinceLastFrame{false};

void OnMouseEvent(int flags) {
  if (flags & (MOUSE_FLAG_LEFT_DOWN | MOUSE_FLAG_RIGHT_DOWN | MOUSE_FLAG_MIDDLE_DOWN)) {
    pressedSinceLastFrame = true;
  }
}

constexpr int kWidth = 640, kHeight = 480;
constexpr int kStep = 4;   // sample every 4th pixel both ways
constexpr int kCell = 32;  // cells of 32x32 pixels
constexpr int kColumns = kWidth / kCell, kRows = kHeight / kCell;
constexpr size_t kCells = size_t{kColumns} * kRows;
constexpr int kStillForStatic = 20;             // unchanged this long: text or scenery
constexpr int kFewestSamples = 3;               // smaller specks are ignored
constexpr int kReactionFrames[] = {15, 45};     // 250 to 750 ms at 60 frames a second
constexpr int kDistractedFrames[] = {60, 150};  // now and then it looks away
constexpr double kDistractedChance = 0.25;
constexpr int kPressFrames = 3;
constexpr double kAimError = 16;  // pixels, one standard deviation

// The commonest value of a row's samples: the background of that row.
int Background(std::vector<int>& samples) {
  std::sort(samples.begin(), samples.end());
  int best = samples[0], bestRun = 0;
  for (size_t i = 0; i < samples.size();) {
    size_t j = i;
    while (j < samples.size() && samples[j] == samples[i]) ++j;
    if (int(j - i) > bestRun) {
      bestRun = int(j - i);
      best = samples[i];
    }
    i = j;
  }
  return best;
}

}  // namespace

MousePlayer::MousePlayer() {
  pressedSinceLastFrame = false;
  mouse_callback = OnMouseEvent;
}

MousePlayer::~MousePlayer() {
  mouse_callback = nullptr;
}

MouseInput MousePlayer::Next(BITMAP*) {
  if (mouse_needs_poll()) poll_mouse();
  const bool pressed = pressedSinceLastFrame.exchange(false);
  return MouseInput{mouse_x, mouse_y, mouse_b != 0 || pressed ? 1 : 0};
}

AutoPlayer::AutoPlayer(unsigned seed)
    : random_(seed), cellHash_(kCells), cellStillFrames_(kCells) {}

AutoPlayer::Spot AutoPlayer::FindMovingThing(BITMAP* frame, const Spot* near) {
  std::vector<int> count(kCells), sumX(kCells), sumY(kCells);
  std::vector<uint32_t> hash(kCells, 2166136261u);
  for (int y = 0; y < kHeight; y += kStep) {
    rowSample_.clear();
    for (int x = 0; x < kWidth; x += kStep) rowSample_.push_back(getpixel(frame, x, y));
    std::vector<int> sorted = rowSample_;
    const int sky = Background(sorted);
    for (int i = 0; i < int(rowSample_.size()); ++i) {
      if (rowSample_[i] == sky) continue;
      int x = i * kStep, cell = (y / kCell) * kColumns + x / kCell;
      ++count[cell];
      sumX[cell] += x;
      sumY[cell] += y;
      hash[cell] = (hash[cell] ^ uint32_t(rowSample_[i] + x * 7 + y * 13)) * 16777619u;
    }
  }
  Spot best{0, 0, false};
  double bestScore = 0;
  for (size_t cell = 0; cell < kCells; ++cell) {
    cellStillFrames_[cell] = hash[cell] == cellHash_[cell] ? cellStillFrames_[cell] + 1 : 0;
    cellHash_[cell] = hash[cell];
    if (count[cell] < kFewestSamples || cellStillFrames_[cell] >= kStillForStatic) continue;
    Spot spot{sumX[cell] / count[cell], sumY[cell] / count[cell], true};
    double score = count[cell];
    if (near != nullptr) score /= 1 + std::hypot(spot.x - near->x, spot.y - near->y);
    if (score > bestScore) {
      bestScore = score;
      best = spot;
    }
  }
  return best;
}

MouseInput AutoPlayer::Next(BITMAP* lastFrame) {
  if (lastFrame == nullptr) return mouse_;
  switch (state_) {
    case State::kLooking:
      mouse_.buttons = 0;
      spotted_ = FindMovingThing(lastFrame, nullptr);
      if (spotted_.found) {
        const int* range = std::bernoulli_distribution(kDistractedChance)(random_)
                               ? kDistractedFrames
                               : kReactionFrames;
        countdown_ = std::uniform_int_distribution<int>(range[0], range[1])(random_);
        state_ = State::kReacting;
      }
      break;
    case State::kReacting: {
      Spot now = FindMovingThing(lastFrame, &spotted_);
      if (now.found) spotted_ = now;
      if (--countdown_ > 0) break;
      std::normal_distribution<double> error(0, kAimError);
      mouse_.x = std::clamp(int(spotted_.x + error(random_)), 0, kWidth - 1);
      mouse_.y = std::clamp(int(spotted_.y + error(random_)), 0, kHeight - 1);
      mouse_.buttons = 1;
      countdown_ = kPressFrames;
      state_ = State::kPressing;
      break;
    }
    case State::kPressing:
      if (--countdown_ <= 0) {
        mouse_.buttons = 0;
        state_ = State::kLooking;
      }
      break;
  }
  return mouse_;
}
