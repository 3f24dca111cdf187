// How fast resident memory grows: the least-squares slope over many samples,
// so that one high or low reading neither raises nor hides it.
#ifndef FLINTMOOR_HOST_GROWTHSLOPE_H
#define FLINTMOOR_HOST_GROWTHSLOPE_H

#include <string>
#include <vector>

class GrowthSlope {
 public:
  // One reading of resident memory (kB) at a step (frame or cycle number).
  void Sample(double step, double kilobytes);
  // Kilobytes a step; 0 with fewer than two samples.
  double KilobytesPerStep() const;
  // The fitted growth from the first sample to the last, in kilobytes.
  double FittedGrowth() const;
  // Whether memory grows faster than kilobytesPerStep and by more than
  // atLeastKb in all: slow or small growth is the allocator settling.
  bool Exceeds(double kilobytesPerStep, double atLeastKb) const {
    return KilobytesPerStep() > kilobytesPerStep && FittedGrowth() > atLeastKb;
  }
  // "+1.02 kB a frame over frames 500-3000 (51 readings)".
  std::string Describe(const std::string& step, const std::string& steps) const;

 private:
  std::vector<double> steps_, kilobytes_;
};

#endif
