#include "GrowthSlope.h"

#include <cstdio>

void GrowthSlope::Sample(double step, double kilobytes) {
  steps_.push_back(step);
  kilobytes_.push_back(kilobytes);
}

double GrowthSlope::Slope(size_t first, size_t last) const {
  const size_t n = last - first;
  if (n < 2) return 0;
  double meanStep = 0, meanKb = 0;
  for (size_t i = first; i < last; ++i) {
    meanStep += steps_[i] / double(n);
    meanKb += kilobytes_[i] / double(n);
  }
  double covariance = 0, variance = 0;
  for (size_t i = first; i < last; ++i) {
    covariance += (steps_[i] - meanStep) * (kilobytes_[i] - meanKb);
    variance += (steps_[i] - meanStep) * (steps_[i] - meanStep);
  }
  return variance > 0 ? covariance / variance : 0;
}

double GrowthSlope::KilobytesPerStep() const {
  return Slope(0, steps_.size());
}

bool GrowthSlope::Exceeds(double kilobytesPerStep, double atLeastKb) const {
  const size_t half = steps_.size() / 2;
  size_t rises = 0;
  for (size_t i = 1; i < kilobytes_.size(); ++i) rises += kilobytes_[i] > kilobytes_[i - 1];
  const bool often = rises * 5 >= kilobytes_.size() - 1;
  return KilobytesPerStep() > kilobytesPerStep && FittedGrowth() > atLeastKb && often &&
         Slope(0, half) > kilobytesPerStep / 2 && Slope(half, steps_.size()) > kilobytesPerStep / 2;
}

double GrowthSlope::FittedGrowth() const {
  return steps_.size() < 2 ? 0 : KilobytesPerStep() * (steps_.back() - steps_.front());
}

GrowthSlope GrowthSlope::From(double step) const {
  GrowthSlope later;
  for (size_t i = 0; i < steps_.size(); ++i) {
    if (steps_[i] >= step) later.Sample(steps_[i], kilobytes_[i]);
  }
  return later;
}

std::string GrowthSlope::Describe(const std::string& step, const std::string& steps) const {
  if (steps_.size() < 2) return "not measured";
  char text[160];
  std::snprintf(text, sizeof text, "%+.3f kB a %s over %s %.0f-%.0f (%zu readings)",
                KilobytesPerStep(), step.c_str(), steps.c_str(), steps_.front(), steps_.back(),
                steps_.size());
  return text;
}
