#include "AutoPlayer.h"

#include <allegro.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kWidth = View::kWidth, kHeight = View::kHeight;
constexpr int kStep = 4;  // sample every 4th pixel both ways
constexpr int kColumns = kWidth / kStep, kRows = kHeight / kStep;
// Smaller things (specks, a line of text) are not worth a shot.
constexpr int kFewestSamples = 10, kLeastRows = 5, kLeastColumns = 4;
constexpr double kSameThing = 30;              // pixels from where it should be now
constexpr int kForgetAfter = 4;                // frames unseen
constexpr int kReactionFrames[] = {10, 18};    // about 170 to 300 ms at 60 frames a second
constexpr int kDistractedFrames[] = {30, 60};  // now and then it looks away
constexpr double kDistractedChance = 0.03;
constexpr double kAimError = 3;  // pixels, one standard deviation
constexpr double kSloppyChance = 0.02, kSloppyAimError = 40;
constexpr int kPressFrames = 3, kRecoverFrames[] = {3, 8};

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

AutoPlayer::AutoPlayer(unsigned seed)
    : random_(seed), samples_(size_t(kColumns) * kRows), label_(size_t(kColumns) * kRows) {}

Pointer AutoPlayer::Aim() const {
  return Pointer{mouse_.x, mouse_.y, true};
}

void AutoPlayer::FindBlobs(BITMAP* frame) {
  // Sky: each row's commonest colour. Everything else is something.
  for (int row = 0; row < kRows; ++row) {
    int* line = &samples_[size_t(row) * kColumns];
    for (int column = 0; column < kColumns; ++column) {
      line[column] = getpixel(frame, column * kStep, row * kStep);
    }
    sorted_.assign(line, line + kColumns);
    const int sky = Background(sorted_);
    for (int column = 0; column < kColumns; ++column) {
      label_[size_t(row) * kColumns + column] = line[column] == sky ? 0 : -1;
    }
  }
  // Things: groups of touching samples.
  blobs_.clear();
  std::vector<int> stack;
  int label = 0;
  for (size_t start = 0; start < label_.size(); ++start) {
    if (label_[start] != -1) continue;
    ++label;
    int count = 0, left = kColumns, right = -1, top = kRows, bottom = -1;
    double sumX = 0, sumY = 0;
    stack.assign(1, int(start));
    label_[start] = label;
    while (!stack.empty()) {
      const int at = stack.back();
      stack.pop_back();
      const int row = at / kColumns, column = at % kColumns;
      ++count;
      sumX += column;
      sumY += row;
      left = std::min(left, column);
      right = std::max(right, column);
      top = std::min(top, row);
      bottom = std::max(bottom, row);
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          const int r = row + dy, c = column + dx;
          if (r < 0 || r >= kRows || c < 0 || c >= kColumns) continue;
          int& next = label_[size_t(r) * kColumns + c];
          if (next != -1) continue;
          next = label;
          stack.push_back(r * kColumns + c);
        }
      }
    }
    if (count < kFewestSamples || bottom - top + 1 < kLeastRows ||
        right - left + 1 < kLeastColumns) {
      continue;
    }
    blobs_.push_back(Blob{sumX / count * kStep, sumY / count * kStep, left * kStep, right * kStep});
  }
}

void AutoPlayer::FollowTracks() {
  for (Track& track : tracks_) ++track.unseen;
  for (const Blob& blob : blobs_) {
    Track* nearest = nullptr;
    double nearestDistance = kSameThing;
    for (Track& track : tracks_) {
      if (track.unseen == 0) continue;  // already matched this frame
      const double distance = std::hypot(blob.x - (track.x + track.vx), blob.y - track.y);
      if (distance < nearestDistance) {
        nearestDistance = distance;
        nearest = &track;
      }
    }
    const bool whole = blob.left > 0 && blob.right < kWidth - kStep;
    if (nearest == nullptr) {
      tracks_.push_back(Track{nextId_++, blob.x, blob.y, 0});
      tracks_.back().unseen = 0;
      tracks_.back().age = whole ? 1 : 0;
      continue;
    }
    nearest->vx = nearest->age > 0 ? 0.7 * nearest->vx + 0.3 * (blob.x - nearest->x) : 0;
    nearest->x = blob.x;
    nearest->y = blob.y;
    nearest->unseen = 0;
    // Reaction starts once the whole thing is in sight.
    if (whole || nearest->age > 0) ++nearest->age;
  }
  tracks_.erase(std::remove_if(tracks_.begin(), tracks_.end(),
                               [](const Track& track) { return track.unseen > kForgetAfter; }),
                tracks_.end());
}

AutoPlayer::Track* AutoPlayer::Find(int id) {
  for (Track& track : tracks_) {
    if (track.id == id && track.unseen == 0) return &track;
  }
  return nullptr;
}

AutoPlayer::Track* AutoPlayer::ChooseTarget() {
  const int reaction =
      std::uniform_int_distribution<int>(kReactionFrames[0], kReactionFrames[1])(random_);
  Track* best = nullptr;
  double soonest = 1e9;
  for (Track& track : tracks_) {
    if (track.shot || track.unseen > 0 || track.age < reaction) continue;
    // Frames until it leaves the picture, going as it goes.
    double leaves = 1e6;
    if (track.vx > 0.5) leaves = (kWidth + 48 - track.x) / track.vx;
    if (track.vx < -0.5) leaves = (track.x + 48) / -track.vx;
    if (leaves < soonest) {
      soonest = leaves;
      best = &track;
    }
  }
  return best;
}

MouseInput AutoPlayer::Next(BITMAP* lastFrame) {
  if (lastFrame == nullptr) return mouse_;
  FindBlobs(lastFrame);
  FollowTracks();
  switch (state_) {
    case State::kLooking: {
      mouse_.buttons = 0;
      Track* target = ChooseTarget();
      if (target == nullptr) break;
      targetId_ = target->id;
      fromX_ = mouse_.x;
      fromY_ = mouse_.y;
      const double distance = std::hypot(target->x - fromX_, target->y - fromY_);
      moveFrames_ = 6 + int(distance / 40) + std::uniform_int_distribution<int>(0, 4)(random_);
      if (std::bernoulli_distribution(kDistractedChance)(random_)) {
        moveFrames_ +=
            std::uniform_int_distribution<int>(kDistractedFrames[0], kDistractedFrames[1])(random_);
      }
      const double spread =
          std::bernoulli_distribution(kSloppyChance)(random_) ? kSloppyAimError : kAimError;
      std::normal_distribution<double> error(0, spread);
      aimErrorX_ = error(random_);
      aimErrorY_ = error(random_);
      moved_ = 0;
      state_ = State::kAiming;
      break;
    }
    case State::kAiming: {
      Track* target = Find(targetId_);
      if (target == nullptr) {  // gone from sight
        state_ = State::kLooking;
        break;
      }
      // Where it will be when the click lands, one frame on.
      const double aimX = target->x + target->vx + aimErrorX_, aimY = target->y + aimErrorY_;
      ++moved_;
      const double t = std::min(1.0, double(moved_) / moveFrames_);
      const double eased = 1 - (1 - t) * (1 - t);
      mouse_.x = std::clamp(int(std::lround(fromX_ + (aimX - fromX_) * eased)), 0, kWidth - 1);
      mouse_.y = std::clamp(int(std::lround(fromY_ + (aimY - fromY_) * eased)), 0, kHeight - 1);
      if (t >= 1) {
        mouse_.buttons = 1;
        target->shot = true;
        countdown_ = kPressFrames;
        state_ = State::kPressing;
      }
      break;
    }
    case State::kPressing:
      if (--countdown_ > 0) break;
      mouse_.buttons = 0;
      countdown_ =
          std::uniform_int_distribution<int>(kRecoverFrames[0], kRecoverFrames[1])(random_);
      state_ = State::kRecovering;
      break;
    case State::kRecovering:
      if (--countdown_ <= 0) state_ = State::kLooking;
      break;
  }
  return mouse_;
}
