#include "FramePacer.h"

#include <thread>

FramePacer::FramePacer(int fps)
    : period_(std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / fps),
      next_(Clock::now()) {}

void FramePacer::Wait() {
  next_ += period_;
  const auto now = Clock::now();
  if (now < next_) {
    std::this_thread::sleep_until(next_);
  } else if (now - next_ > 5 * period_) {
    next_ = now;
  }
}
