#include "static_crashes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "level.h"
#include "noise_random.h"
#include "periodic_filter.h"

namespace tessaly::noise {
namespace {

constexpr double kRate = kStaticRateHz;
constexpr std::size_t kFrames = kStaticFrames;

// Mean gaps between events at average activity, in seconds: crashes, clicks,
// and the fine crackle that fills the gaps with a faint frying sound.
constexpr double kCrashGapS = 2.4;
constexpr double kClickGapS = 0.15;
constexpr double kCrackleGapS = 0.008;

// The crackle plays at full volume under speech peaking at -1 dBFS: the
// strongest crash peaks a few dB under that, most crashes and clicks far lower.
constexpr double kPeakDbfs = -4.0;

// How strong the crashes and clicks are, in dB under the strongest crash: an
// exponential spread, so that a few are loud and most are moderate to faint.
constexpr double kCrashSpreadDb = 8.0;
constexpr double kCrashFloorDb = -30.0;
struct Spread {
  double topDb, spreadDb, floorDb;
};
constexpr Spread kClicks{6.0, 7.0, -24.0};
constexpr Spread kCrackle{-10.0, 5.0, -24.0};

double fromDb(double db) { return std::pow(10.0, db / 20.0); }

// Storm activity over the loop: a slowly wandering factor around 1 (about
// 0.25 to 4) that thins or crowds the events. Made of whole cycles per loop so
// that it too joins up at the wrap.
class Activity {
public:
  explicit Activity(NoiseRandom& random) {
    for (Term& t : terms_) {
      t.depth = random.uniform(0.15, 0.45);
      t.phase = random.uniform(0.0, 2.0 * std::numbers::pi);
    }
  }

  double at(double frame) const {
    double sum = 0;
    for (std::size_t k = 0; k < terms_.size(); ++k) {
      const double cycles = static_cast<double>(k + 1);
      sum += terms_[k].depth *
             std::cos(2.0 * std::numbers::pi * cycles * frame / static_cast<double>(kFrames) + terms_[k].phase);
    }
    return std::exp(sum);
  }

  // Upper bound of at(), for thinning a Poisson process.
  double maximum() const {
    double sum = 0;
    for (const Term& t : terms_) sum += t.depth;
    return std::exp(sum);
  }

private:
  struct Term {
    double depth = 0, phase = 0;
  };
  std::array<Term, 6> terms_{};
};

// Adds `value` at `frame`, wrapping round the end of the loop.
void addWrapped(std::vector<double>& loop, std::size_t frame, double value) { loop[frame % kFrames] += value; }

// Event times of a Poisson process whose rate follows the activity (thinning).
template <typename Emit>
void forEachEvent(NoiseRandom& random, const Activity& activity, double meanGapS, Emit emit) {
  const double peakRate = activity.maximum() / (meanGapS * kRate);  // events per frame
  for (double t = random.exponential(1.0 / peakRate); t < static_cast<double>(kFrames);
       t += random.exponential(1.0 / peakRate)) {
    if (random.uniform() * activity.maximum() < activity.at(t)) emit(static_cast<std::size_t>(t));
  }
}

// One stroke of a crash: noise that rises within a few ms and dies away over
// tens of ms, broken up into a sputter of short fragments of random strength,
// which is what makes a crash sound torn rather than like a burst of hiss.
void addStroke(std::vector<double>& loop, NoiseRandom& random, std::size_t start, double amplitude) {
  const double attack = random.uniform(0.0005, 0.003) * kRate;
  const double decay = random.uniform(0.015, 0.12) * kRate;
  const auto length = static_cast<std::size_t>(attack + 6.0 * decay);
  double fragmentGain = 1;
  std::size_t fragmentLeft = 0;
  for (std::size_t i = 0; i < length; ++i) {
    if (fragmentLeft == 0) {
      fragmentLeft = static_cast<std::size_t>(random.uniform(0.0005, 0.006) * kRate) + 1;
      fragmentGain = std::exp(random.gaussian() * 0.8);
    }
    --fragmentLeft;
    const double t = static_cast<double>(i);
    const double envelope = t < attack ? t / attack : std::exp(-(t - attack) / decay);
    addWrapped(loop, start + i, amplitude * envelope * fragmentGain * random.gaussian());
  }
}

// A crash: one to four strokes, tens of ms apart, each usually weaker.
void addCrash(std::vector<double>& loop, NoiseRandom& random, std::size_t start) {
  double amplitude = fromDb(std::max(kCrashFloorDb, -random.exponential(kCrashSpreadDb)));
  const int strokes = 1 + std::min(3, static_cast<int>(random.exponential(0.9)));
  std::size_t at = start;
  for (int s = 0; s < strokes; ++s) {
    addStroke(loop, random, at, amplitude);
    at += static_cast<std::size_t>(random.uniform(0.03, 0.15) * kRate);
    amplitude *= random.uniform(0.4, 0.9);
  }
}

// A click: a burst of a fraction of a ms to a few ms, heard as a tick or a pop.
void addClick(std::vector<double>& loop, NoiseRandom& random, std::size_t start, const Spread& level) {
  const double amplitude = fromDb(std::max(level.floorDb, level.topDb - random.exponential(level.spreadDb)));
  const double decay = random.uniform(0.0002, 0.0015) * kRate;
  const auto length = static_cast<std::size_t>(5.0 * decay) + 1;
  for (std::size_t i = 0; i < length; ++i) {
    addWrapped(loop, start + i, amplitude * std::exp(-static_cast<double>(i) / decay) * random.gaussian());
  }
}

}  // namespace

std::vector<std::int16_t> makeStaticCrashes(std::uint64_t seed) {
  NoiseRandom random(seed);
  const Activity activity(random);
  std::vector<double> loop(kFrames, 0.0);
  forEachEvent(random, activity, kCrashGapS, [&](std::size_t at) { addCrash(loop, random, at); });
  forEachEvent(random, activity, kClickGapS, [&](std::size_t at) { addClick(loop, random, at, kClicks); });
  forEachEvent(random, activity, kCrackleGapS, [&](std::size_t at) { addClick(loop, random, at, kCrackle); });
  // Through a receiver's audio passband, which gives crashes their dull thud
  // and clicks their ring; filtered as a loop so that the wrap stays seamless.
  filterPeriodic(loop, {
                           Biquad::highPass(250.0, std::numbers::sqrt2 / 2, kRate),
                           Biquad::lowPass(3500.0, kButterworth4Q1, kRate),
                           Biquad::lowPass(3500.0, kButterworth4Q2, kRate),
                       });
  scaleToPeak(loop, kPeakDbfs);
  return quantise8(loop, random);
}

}  // namespace tessaly::noise
