#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "support/wave_probe.h"

namespace tessaly::test {
namespace {

double dbfs(double amplitude16) { return 20.0 * std::log10(amplitude16 / 32768.0); }

double rmsOf(const std::vector<int>& s, std::size_t from, std::size_t count) {
  double squares = 0;
  for (std::size_t i = from; i < from + count; ++i) squares += static_cast<double>(s[i]) * s[i];
  return std::sqrt(squares / static_cast<double>(count));
}

// A seam: the step from the last frame to the first beyond the 99th percentile of
// the steps inside the loop.
void expectSeamless(const std::vector<int>& s) {
  ASSERT_GE(s.size(), 2u);
  std::vector<int> steps;
  steps.reserve(s.size());
  for (std::size_t i = 1; i < s.size(); ++i) steps.push_back(std::abs(s[i] - s[i - 1]));
  const auto p99 = steps.begin() + static_cast<long>(steps.size() * 99 / 100);
  std::nth_element(steps.begin(), p99, steps.end());
  EXPECT_LE(std::abs(s.front() - s.back()), *p99);
}

double powerDb(const std::vector<int>& s, double hz, double rateHz) { return blockPowerDb(s, hz, rateHz, 4410); }

// The container layout the engine is handed: integer PCM, mono, exact lengths.
TEST(Recordings, HaveTheirExactFormat) {
  struct Case { const char* name; std::uint32_t rateHz; std::uint16_t bits; std::size_t frames; } cases[] = {
      {"ZAOYIN", 44100, 16, 220500},  // 5.000 s
      {"QRN", 44100, 8, 2665845},     // 60.45 s
      {"NULL", 11025, 8, 14300},      // 14,300 bytes of 8-bit silence
  };
  for (const Case& c : cases) {
    const auto wave = builtInWave(c.name);
    ASSERT_TRUE(wave) << c.name;
    EXPECT_EQ(wave->formatTag, 1) << c.name;
    EXPECT_EQ(wave->channels, 1) << c.name;
    EXPECT_EQ(wave->rateHz, c.rateHz) << c.name;
    EXPECT_EQ(wave->bitsPerSample, c.bits) << c.name;
    EXPECT_EQ(wave->frames(), c.frames) << c.name;
  }
}

TEST(Recordings, NoiseLoopsWithoutASeam) {
  for (const char* name : {"ZAOYIN", "QRN"}) {
    SCOPED_TRACE(name);
    const auto wave = builtInWave(name);
    ASSERT_TRUE(wave);
    expectSeamless(wave->samples());
  }
  // The hiss is steady: the level just before the wrap is the level just after it.
  const std::vector<int> s = builtInWave("ZAOYIN")->samples();
  EXPECT_NEAR(dbfs(rmsOf(s, 0, 4410)), dbfs(rmsOf(s, s.size() - 4410, 4410)), 1.5);
}

// Played at a quarter of its rate it is a receiver's hiss: flat across the voice
// band (four times 300 to 2700 Hz as stored), little outside it, with headroom.
TEST(BandNoise, FillsTheVoiceBandAsPlayedTwoOctavesDown) {
  const auto wave = builtInWave("ZAOYIN");
  ASSERT_TRUE(wave);
  const std::vector<int> s = wave->samples();
  const double rate = wave->rateHz;
  const double inBandLow = powerDb(s, 4 * 500.0, rate);
  const double inBandHigh = powerDb(s, 4 * 2200.0, rate);
  EXPECT_NEAR(inBandLow, inBandHigh, 6.0);
  EXPECT_GT(std::min(inBandLow, inBandHigh) - powerDb(s, 4 * 60.0, rate), 25.0);
  EXPECT_GT(std::min(inBandLow, inBandHigh) - powerDb(s, 4 * 4800.0, rate), 15.0);

  const int peak = std::ranges::max(s, {}, [](int x) { return std::abs(x); });
  EXPECT_LE(dbfs(std::abs(peak)), -0.9);
  const double rms = dbfs(rmsOf(s, 0, s.size()));
  EXPECT_GT(rms, -18.0);
  EXPECT_LT(rms, -12.0);
}

// Static is bursts of uneven strength with quiet between; played at full volume
// under speech peaking at -1 dBFS, its loudest crash stays under that.
TEST(StaticCrackle, IsBurstsOfUnevenStrengthUnderTheSpeechLevel) {
  const auto wave = builtInWave("QRN");
  ASSERT_TRUE(wave);
  const std::vector<int> s = wave->samples();
  const std::size_t window = wave->rateHz / 10;  // 100 ms
  std::vector<double> windowDb;
  std::vector<double> secondPeakDb;
  for (std::size_t from = 0; from + window <= s.size(); from += window) {
    windowDb.push_back(dbfs(rmsOf(s, from, window) + 1e-3));
  }
  for (std::size_t from = 0; from + wave->rateHz <= s.size(); from += wave->rateHz) {
    int peak = 0;
    for (std::size_t i = from; i < from + wave->rateHz; ++i) peak = std::max(peak, std::abs(s[i]));
    secondPeakDb.push_back(dbfs(peak + 1e-3));
  }
  auto median = windowDb;
  std::nth_element(median.begin(), median.begin() + static_cast<long>(median.size() / 2), median.end());
  EXPECT_GT(std::ranges::max(windowDb) - median[median.size() / 2], 20.0);
  EXPECT_GT(std::ranges::max(secondPeakDb) - std::ranges::min(secondPeakDb), 12.0);
  EXPECT_LE(std::ranges::max(secondPeakDb), -1.0);
}

}  // namespace
}  // namespace tessaly::test
