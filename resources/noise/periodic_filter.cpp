#include "periodic_filter.h"

#include <cmath>
#include <numbers>

namespace tessaly::noise {
namespace {

struct Coefficients {
  double cosW, alpha;
};

Coefficients prepare(double cutoffHz, double q, double rateHz) {
  const double w = 2.0 * std::numbers::pi * cutoffHz / rateHz;
  return {std::cos(w), std::sin(w) / (2.0 * q)};
}

Biquad normalised(double b0, double b1, double b2, double a0, double a1, double a2) {
  return {b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0};
}

void filterSection(std::vector<double>& loop, const Biquad& s) {
  const std::size_t n = loop.size();
  if (n == 0) return;
  std::vector<double> out(n);
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < n; ++i) {
      const double x = loop[i];
      const double y = s.b0 * x + s.b1 * x1 + s.b2 * x2 - s.a1 * y1 - s.a2 * y2;
      x2 = x1;
      x1 = x;
      y2 = y1;
      y1 = y;
      out[i] = y;
    }
  }
  loop.swap(out);
}

}  // namespace

Biquad Biquad::lowPass(double cutoffHz, double q, double rateHz) {
  const auto [c, a] = prepare(cutoffHz, q, rateHz);
  return normalised((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + a, -2 * c, 1 - a);
}

Biquad Biquad::highPass(double cutoffHz, double q, double rateHz) {
  const auto [c, a] = prepare(cutoffHz, q, rateHz);
  return normalised((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + a, -2 * c, 1 - a);
}

void filterPeriodic(std::vector<double>& loop, const std::vector<Biquad>& sections) {
  for (const Biquad& s : sections) filterSection(loop, s);
}

}  // namespace tessaly::noise
