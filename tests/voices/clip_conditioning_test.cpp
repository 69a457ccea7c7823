// The trimming rule keeps the soft start of a word: the hiss of an f, the buzz of
// a v, the breath of an h come tens of dB under the vowel and are cut first by a
// trim that listens for the vowel.
#include "voices/clip_conditioning.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace tessaly {
namespace {

// 100 ms of silence, a consonant of `consonantMs` at `consonantDb` under the vowel
// (peak to peak; its RMS is 5 dB lower still),
// 300 ms of vowel, 100 ms of silence; 22050 Hz.
std::vector<float> word(double consonantDb, int consonantMs) {
    const int rate = 22050, silence = rate / 10, consonant = consonantMs * rate / 1000, vowel = 3 * rate / 10;
    std::vector<float> s(static_cast<std::size_t>(2 * silence + consonant + vowel), 0.0f);
    std::mt19937 noise(7);
    std::uniform_real_distribution<float> hiss(-1.0f, 1.0f);
    const float consonantLevel = 0.5f * static_cast<float>(std::pow(10.0, consonantDb / 20.0));
    for (int i = 0; i < consonant; ++i) s[static_cast<std::size_t>(silence + i)] = consonantLevel * hiss(noise);
    for (int i = 0; i < vowel; ++i)
        s[static_cast<std::size_t>(silence + consonant + i)] = 0.5f * static_cast<float>(std::sin(2 * std::numbers::pi * 220 * i / rate));
    return s;
}

TEST(ClipConditioning, KeepsTheSoftConsonantBeforeTheVowel) {
    struct Case { double consonantDb; int consonantMs; } cases[] = {{-25, 60}, {-35, 40}, {-40, 30}};
    const ConditioningRule rule;
    for (const Case& c : cases) {
        const auto clip = conditionRecording(word(c.consonantDb, c.consonantMs), rule);
        ASSERT_TRUE(clip);
        // Where the vowel begins in the clip: its first sample at half its level.
        float peak = 0;
        for (float s : clip->samples) peak = std::max(peak, std::abs(s));
        std::size_t vowel = 0;
        while (std::abs(clip->samples[vowel]) < 0.5f * peak) ++vowel;
        const double keptMs = 1000.0 * static_cast<double>(vowel) / rule.rate;
        // All of the consonant, plus the 7 ms kept before the first sound, give or take a
        // level window.
        EXPECT_GE(keptMs, c.consonantMs + 2.0) << c.consonantDb << " dB";
        EXPECT_LE(keptMs, c.consonantMs + 12.0) << c.consonantDb << " dB";
    }
}

}  // namespace
}  // namespace tessaly
