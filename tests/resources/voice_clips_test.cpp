// The spoken clips built into the program: every name the reader can ask for
// is there, in the format and length the reader's timing relies on, trimmed,
// at one loudness, and no two clips of a set are the same recording.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "support/wave_probe.h"

namespace tessaly::test {
namespace {

// Clip names by set: letters A..Z of word sets 0..3, digits 0..9 of digit
// sets 0 and 1, and the designator words.
std::map<std::string, std::vector<std::string>> spokenSets() {
  std::map<std::string, std::vector<std::string>> sets;
  char name[8];
  for (int set = 0; set < 4; ++set) {
    for (int letter = 1; letter <= 26; ++letter) {
      std::snprintf(name, sizeof name, "%d%02d", set, letter);
      sets["letters " + std::to_string(set)].push_back(name);
    }
  }
  for (int set = 0; set < 2; ++set) {
    for (int digit = 0; digit <= 9; ++digit) {
      std::snprintf(name, sizeof name, "%d%d", set, digit);
      sets["digits " + std::to_string(set)].push_back(name);
    }
  }
  sets["designators"] = {"PORTABLE", "MOBILE", "QRP"};
  return sets;
}

std::vector<std::string> allSpokenClips() {
  std::vector<std::string> all;
  for (const auto& [set, names] : spokenSets()) all.insert(all.end(), names.begin(), names.end());
  return all;
}

double dbfs(double amplitude16) { return 20.0 * std::log10(amplitude16 / 32768.0); }

class SpokenClip : public testing::TestWithParam<std::string> {};

TEST_P(SpokenClip, IsMono16Bit22050HzAndOfAReadableLength) {
  const auto wave = builtInWave(GetParam());
  ASSERT_TRUE(wave) << "no WAVE resource " << GetParam();
  EXPECT_EQ(wave->formatTag, 1);
  EXPECT_EQ(wave->channels, 1);
  EXPECT_EQ(wave->rateHz, 22050u);
  EXPECT_EQ(wave->bitsPerSample, 16);
  EXPECT_GE(wave->seconds(), 0.27);
  EXPECT_LE(wave->seconds(), 0.83);
}

TEST_P(SpokenClip, IsTrimmedAndAtTheCommonLevel) {
  const auto wave = builtInWave(GetParam());
  ASSERT_TRUE(wave);
  const std::vector<int> s = wave->samples();
  ASSERT_FALSE(s.empty());
  int peak = 0;
  double squares = 0;
  for (int x : s) {
    peak = std::max(peak, std::abs(x));
    squares += static_cast<double>(x) * x;
  }
  const double rms = std::sqrt(squares / static_cast<double>(s.size()));
  // A little headroom, and one loudness across voices and words (RMS of the
  // whole clip, which includes the gaps inside a word).
  EXPECT_LE(dbfs(peak), -0.9);
  EXPECT_GE(dbfs(rms), -22.0);
  EXPECT_LE(dbfs(rms), -15.0);

  // The word starts at once: something audible (50 dB under the peak) within
  // the first 10 ms, so that a clip's onset is its tick.
  const double audible = peak * std::pow(10.0, -50.0 / 20.0);
  const auto tenMs = static_cast<std::size_t>(0.010 * wave->rateHz);
  EXPECT_TRUE(std::any_of(s.begin(), s.begin() + static_cast<long>(tenMs),
                          [&](int x) { return std::abs(x) >= audible; }))
      << GetParam() << " starts with silence";
  // And it ends with the word, unless silence was added to reach the minimum
  // length.
  const auto lastAudible = static_cast<std::size_t>(
      std::find_if(s.rbegin(), s.rend(), [&](int x) { return std::abs(x) >= audible; }).base() - s.begin());
  const double trailingS = static_cast<double>(s.size() - lastAudible) / wave->rateHz;
  if (wave->seconds() > 0.28) {
    EXPECT_LE(trailingS, 0.03) << GetParam() << " ends with silence";
  }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, SpokenClip, testing::ValuesIn(allSpokenClips()),
                         [](const auto& info) { return info.param; });

// Every clip is its own recording: no letter or digit of a set repeats
// another, and the words that several sets share (Quebec, Denmark,
// Washington, ...) are said in each set's own voice.
TEST(SpokenClips, AreAllDistinctRecordings) {
  const std::vector<std::string> all = allSpokenClips();
  std::vector<std::span<const std::uint8_t>> data;
  for (const std::string& name : all) {
    const auto wave = builtInWave(name);
    ASSERT_TRUE(wave) << name;
    data.push_back(wave->data);
  }
  for (std::size_t i = 0; i < all.size(); ++i) {
    for (std::size_t j = i + 1; j < all.size(); ++j) {
      EXPECT_FALSE(std::ranges::equal(data[i], data[j])) << all[i] << " and " << all[j] << " are the same recording";
    }
  }
}

// Its format is checked with the noise recordings.
TEST(PauseClip, IsSilent) {
  const auto wave = builtInWave("NULL");
  ASSERT_TRUE(wave);
  EXPECT_TRUE(std::ranges::all_of(wave->data, [](std::uint8_t b) { return b == 128; }));
}

}  // namespace
}  // namespace tessaly::test
