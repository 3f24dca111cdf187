// Keeps a loop at a fixed number of frames a second, sleeping while ahead.
#ifndef FLINTMOOR_HOST_FRAMEPACER_H
#define FLINTMOOR_HOST_FRAMEPACER_H

#include <chrono>

class FramePacer {
 public:
  explicit FramePacer(int fps);
  // Waits for the next frame's time. Further behind than a few frames (a
  // stall, a debugger), it stops catching up.
  void Wait();

 private:
  using Clock = std::chrono::steady_clock;
  Clock::duration period_;
  Clock::time_point next_;
};

#endif
