#include "level.h"

#include <algorithm>
#include <cmath>

#include "noise_random.h"

namespace tessaly::noise {
namespace {

double fromDb(double db) { return std::pow(10.0, db / 20.0); }

double peakOf(const std::vector<double>& samples) {
  double peak = 0;
  for (double x : samples) peak = std::max(peak, std::abs(x));
  return peak;
}

void scale(std::vector<double>& samples, double gain) {
  for (double& x : samples) x *= gain;
}

}  // namespace

void scaleToLevel(std::vector<double>& samples, double rmsDbfs, double peakDbfs) {
  if (samples.empty()) return;
  double sumSquares = 0;
  for (double x : samples) sumSquares += x * x;
  const double rms = std::sqrt(sumSquares / static_cast<double>(samples.size()));
  const double peak = peakOf(samples);
  if (peak == 0) return;
  scale(samples, std::min(fromDb(rmsDbfs) / rms, fromDb(peakDbfs) / peak));
}

void scaleToPeak(std::vector<double>& samples, double peakDbfs) {
  const double peak = peakOf(samples);
  if (peak > 0) scale(samples, fromDb(peakDbfs) / peak);
}

std::vector<std::int16_t> quantise16(const std::vector<double>& samples) {
  std::vector<std::int16_t> out(samples.size());
  std::transform(samples.begin(), samples.end(), out.begin(), [](double x) {
    return static_cast<std::int16_t>(std::clamp(std::lround(x * 32768.0), -32768L, 32767L));
  });
  return out;
}

std::vector<std::int16_t> quantise8(const std::vector<double>& samples, NoiseRandom& random) {
  std::vector<std::int16_t> out(samples.size());
  std::transform(samples.begin(), samples.end(), out.begin(), [&random](double x) {
    const double dither = random.uniform() - random.uniform();
    const long step = std::clamp(std::lround(x * 128.0 + dither), -128L, 127L);
    return static_cast<std::int16_t>(step * 256);
  });
  return out;
}

}  // namespace tessaly::noise
