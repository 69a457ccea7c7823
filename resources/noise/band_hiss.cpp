#include "band_hiss.h"

#include "level.h"
#include "noise_random.h"
#include "periodic_filter.h"

namespace tessaly::noise {
namespace {

// The passband of a voice receiver, 300 Hz to 2700 Hz as heard, times four as
// stored.
constexpr double kPlaybackFactor = 4.0;
constexpr double kLowHz = 300.0 * kPlaybackFactor;
constexpr double kHighHz = 2700.0 * kPlaybackFactor;

// Level as stored: speech clips sit at about -17 dBFS RMS, and the weakest to
// strongest noise settings play this 30 dB to 5 dB down, from barely there to
// burying the words. Gaussian noise peaks about 13 dB over its RMS; the peak
// cap keeps 1 dB of headroom in any case.
constexpr double kRmsDbfs = -15.0;
constexpr double kPeakDbfs = -1.0;

}  // namespace

std::vector<std::int16_t> makeBandHiss(std::uint64_t seed) {
  NoiseRandom random(seed);
  std::vector<double> loop(kHissFrames);
  for (double& x : loop) x = random.gaussian();
  filterPeriodic(loop, {
                           Biquad::highPass(kLowHz, kButterworth4Q1, kHissRateHz),
                           Biquad::highPass(kLowHz, kButterworth4Q2, kHissRateHz),
                           Biquad::lowPass(kHighHz, kButterworth4Q1, kHissRateHz),
                           Biquad::lowPass(kHighHz, kButterworth4Q2, kHissRateHz),
                       });
  scaleToLevel(loop, kRmsDbfs, kPeakDbfs);
  return quantise16(loop);
}

}  // namespace tessaly::noise
