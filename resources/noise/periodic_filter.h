#pragma once
// Filters for recordings that loop. A loop is one period of an endless signal,
// so it is filtered as if it had been playing forever: the filter runs over the
// period twice and keeps the second pass, by which time its state at the start
// equals its state at the end. The filtered loop therefore has no seam: the
// step from its last frame to its first is like any other step.
#include <vector>

namespace tessaly::noise {

// One second-order section (RBJ audio EQ cookbook), direct form I.
struct Biquad {
  double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;

  static Biquad lowPass(double cutoffHz, double q, double rateHz);
  static Biquad highPass(double cutoffHz, double q, double rateHz);
};

// Butterworth-style cascades: Q of the two sections of a 4th-order filter.
inline constexpr double kButterworth4Q1 = 0.5412;
inline constexpr double kButterworth4Q2 = 1.3066;

// Runs `loop` through the sections in turn, each as a periodic filter (see above).
// The sections' impulse responses must die away well within one loop, which
// holds for any audio-band filter over loops of a second or more.
void filterPeriodic(std::vector<double>& loop, const std::vector<Biquad>& sections);

}  // namespace tessaly::noise
