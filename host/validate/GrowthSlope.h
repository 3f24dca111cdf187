// How fast resident memory grows: the least-squares slope over many samples,
// so that one high or low reading neither raises nor hides it, and whether
// it goes on growing, so that a step up now and then (the allocator or the
// window system's library taking another 64 kB, say) is not taken for a
// leak.
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
  // atLeastKb in all (slow or small growth is the allocator settling), and
  // goes on growing: in the first half of the readings and in the second,
  // each at least half as fast, and from one reading to the next in at
  // least a fifth of them (a leak shows at every few steps, not in a few
  // jumps).
  bool Exceeds(double kilobytesPerStep, double atLeastKb) const;
  // The readings from `step` on alone: growth that begins late, judged
  // where it shows.
  GrowthSlope From(double step) const;
  // "+1.02 kB a frame over frames 500-3000 (51 readings)".
  std::string Describe(const std::string& step, const std::string& steps) const;

 private:
  // The slope of readings [first, last).
  double Slope(size_t first, size_t last) const;
  std::vector<double> steps_, kilobytes_;
};

#endif
