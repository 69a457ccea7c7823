// The built-in spoken clips, in each set's voice and every speaker's: all there, in
// the form and length the reader's timing needs, trimmed, equally loud, all distinct.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "sound/speakers.h"
#include "support/wave_probe.h"

namespace tessaly::test {
namespace {

// Letters A..Z of word sets 0..3, digits 0..9 of digit sets 0..2 (plain,
// examination, figure code words) and the designator words.
std::vector<std::string> spokenClips() {
  std::vector<std::string> names;
  char name[8];
  for (int set = 0; set < 4; ++set) {
    for (int letter = 1; letter <= 26; ++letter) {
      std::snprintf(name, sizeof name, "%d%02d", set, letter);
      names.push_back(name);
    }
  }
  for (int set = 0; set < 3; ++set) {
    for (int digit = 0; digit <= 9; ++digit) names.push_back(std::to_string(set) + std::to_string(digit));
  }
  for (const char* word : {"PORTABLE", "MOBILE", "QRP"}) names.push_back(word);
  return names;
}

// "" is each set's own voice.
std::string resourceName(const std::string& voice, const std::string& clip) {
  return voice.empty() ? clip : speakerClipName(voice, clip);
}

double dbfs(double amplitude16) { return 20.0 * std::log10(amplitude16 / 32768.0); }

// The mean RMS (dBFS) of the voice's clips, after checking each.
double checkClipsOf(const std::string& voice) {
  double sumDb = 0;
  for (const std::string& clip : spokenClips()) {
    const std::string name = resourceName(voice, clip);
    SCOPED_TRACE(name);
    const auto wave = builtInWave(name);
    if (!wave) {
      ADD_FAILURE() << "no WAVE resource " << name;
      continue;
    }
    EXPECT_EQ(wave->formatTag, 1);
    EXPECT_EQ(wave->channels, 1);
    EXPECT_EQ(wave->rateHz, 22050u);
    EXPECT_EQ(wave->bitsPerSample, 16);
    EXPECT_GE(wave->seconds(), 0.27);
    EXPECT_LE(wave->seconds(), 0.83);

    const std::vector<int> s = wave->samples();
    if (s.empty()) {
      ADD_FAILURE() << "empty";
      continue;
    }
    int peak = 0;
    double squares = 0;
    for (int x : s) {
      peak = std::max(peak, std::abs(x));
      squares += static_cast<double>(x) * x;
    }
    const double rmsDb = dbfs(std::sqrt(squares / static_cast<double>(s.size())));
    sumDb += rmsDb;
    // Headroom, and one loudness across voices and words (RMS of the whole clip).
    EXPECT_LE(dbfs(peak), -0.9);
    EXPECT_GE(rmsDb, -22.0);
    EXPECT_LE(rmsDb, -15.0);

    // Audible (50 dB under the peak) within 10 ms: a clip's onset is its tick.
    const double audible = peak * std::pow(10.0, -50.0 / 20.0);
    const auto tenMs = static_cast<std::size_t>(0.010 * wave->rateHz);
    EXPECT_TRUE(std::any_of(s.begin(), s.begin() + static_cast<long>(tenMs),
                            [&](int x) { return std::abs(x) >= audible; }))
        << "starts with silence";
    // It ends with the word, unless padded to the shortest length.
    const auto lastAudible = static_cast<std::size_t>(
        std::find_if(s.rbegin(), s.rend(), [&](int x) { return std::abs(x) >= audible; }).base() - s.begin());
    if (wave->seconds() > 0.28) {
      EXPECT_LE(static_cast<double>(s.size() - lastAudible) / wave->rateHz, 0.03) << "ends with silence";
    }
  }
  return sumDb / static_cast<double>(spokenClips().size());
}

TEST(SpokenClips, EveryVoiceHasEveryClipInFormAndAllVoicesAreEquallyLoud) {
  const double defaultDb = checkClipsOf("");
  for (const Speaker& speaker : builtInSpeakers()) {
    EXPECT_NEAR(checkClipsOf(std::string(speaker.name)), defaultDb, 1.0) << speaker.name << " (mean RMS, dB)";
  }
}

// No clip repeats another, not even the words several sets share.
TEST(SpokenClips, AreAllDistinctRecordings) {
  const std::vector<std::string> all = spokenClips();
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

// Each speaker is a voice of its own: most of its clips differ from the default's.
TEST(SpokenClips, EachSpeakerSaysMostWordsUnlikeTheDefault) {
  for (const Speaker& speaker : builtInSpeakers()) {
    std::size_t same = 0;
    for (const std::string& clip : spokenClips()) {
      const auto own = builtInWave(speakerClipName(speaker.name, clip)), plain = builtInWave(clip);
      same += own && plain && std::ranges::equal(own->data, plain->data);
    }
    EXPECT_LT(same, spokenClips().size() / 2) << speaker.name;
  }
}

TEST(Speakers, AreNamedAndDescribedAndTheirLookupFallsBackForSharedRecordings) {
  int female = 0, notAmerican = 0;
  for (const Speaker& speaker : builtInSpeakers()) {
    EXPECT_EQ(findSpeaker(speaker.name), &speaker);
    EXPECT_FALSE(speaker.description.empty()) << speaker.name;
    female += speaker.gender == SpeakerGender::Female;
    notAmerican += speaker.accent != "American";
  }
  EXPECT_GE(builtInSpeakers().size(), 5u);
  EXPECT_GE(female, 2);
  EXPECT_GE(notAmerican, 1);
  EXPECT_EQ(findSpeaker("nobody"), nullptr);

  const WaveLookup awb = speakerWaves("awb");
  const auto own = awb("301"), shared = awb("NULL");
  ASSERT_TRUE(own && shared);
  EXPECT_EQ(own->data(), findResource("WAVE", "awb/301")->data());
  EXPECT_EQ(shared->data(), findResource("WAVE", "NULL")->data());
  // The pause clip (its format is checked with the noise recordings) is silence.
  EXPECT_TRUE(std::ranges::all_of(builtInWave("NULL")->data, [](std::uint8_t b) { return b == 128; }));
}

}  // namespace
}  // namespace tessaly::test
