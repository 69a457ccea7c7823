#include "base/practice_settings.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

PracticeSettings everythingChanged() {
    return {.words = WordSet::Mixed, .speed = 0, .tone = 80, .noise = 5, .conditions = kQrn | kQsb | kVaryTone,
            .mode = ReadingMode::Continuous, .source = CallsignSource::Library, .groups = 500, .snrDb = -3.5,
            .path = "flutter", .passband = true, .agc = "slow", .threshold = true};
}

TEST(PracticeSettings, FieldsReadBackToTheSameValue) {
    for (const PracticeSettings& original : {PracticeSettings{}, everythingChanged()}) {
        PracticeSettings read;
        read.conditions = kAllConditions;  // every field must be overwritten
        for (const auto& [name, value] : settingsFields(original)) {
            std::string error;
            ASSERT_TRUE(setSettingsField(read, name, value, error)) << name << "=" << value << ": " << error;
        }
        EXPECT_EQ(read, original) << settingsLine(settingsFields(original));
    }
}

TEST(PracticeSettings, TheWindowsDefaultsAreSpelledAsEveryOutputSpellsThem) {
    EXPECT_EQ(settingsLine(settingsFields(PracticeSettings{})),
              "words=exam speed=5 tone=2500 noise=off conditions= mode=grouped source=random groups=20 snr=off "
              "path=off passband=off agc=off threshold=off speaker=default digits=set pileup=off pileup-stream=off");
    EXPECT_TRUE(additionFields(PracticeSettings{}).empty());
    EXPECT_EQ(settingsLine(additionFields(everythingChanged())), "snr=-3.5 path=flutter passband=on agc=slow threshold=on");
}

TEST(PracticeSettings, AVariedValueShowsAsRandom) {
    PracticeSettings s;
    s.noise = 3;
    EXPECT_EQ(speedSetting(s), "5");
    EXPECT_EQ(noiseSetting(s), "S3");
    s.conditions = kVarySpeed | kVaryNoise;
    EXPECT_EQ(speedSetting(s), "random");
    EXPECT_EQ(noiseSetting(s), "random");
    s.snrDb = 0;
    EXPECT_EQ(noiseSetting(s), "snr");
    EXPECT_EQ(conditionNames(s), (std::vector<std::string>{"vary-noise", "vary-speed"}));
}

TEST(PracticeSettings, SnrIsWrittenToATenthWithoutNoise) {
    const std::pair<double, const char*> cases[] = {{6, "6"}, {-3.5, "-3.5"}, {-0.04, "0"}, {2.25, "2.3"}, {-12.0, "-12"}};
    for (const auto& [db, text] : cases) EXPECT_EQ(snrText(db), text) << db;
}

TEST(PracticeSettings, UnknownNamesAndValuesAreRefusedNamingTheField) {
    const struct { const char* name; const char* value; const char* error; } cases[] = {
        {"words", "icao", "words must be exam, standard, places, other or mixed, not \"icao\""},
        {"speed", "11", "speed must be 0 to 10, not \"11\""},
        {"speed", "5x", "speed must be 0 to 10, not \"5x\""},
        {"tone", "79", "tone must be 80 to 5000, not \"79\""},
        {"noise", "S6", "noise must be off or S1 to S5, not \"S6\""},
        {"conditions", "qrn,fog", "conditions must be a comma-separated list of qrn, qrm, qsb, vary-noise, vary-speed, vary-tone, not \"qrn,fog\""},
        {"mode", "burst", "mode must be grouped or continuous, not \"burst\""},
        {"groups", "501", "groups must be 0 to 500, not \"501\""},
        {"snr", "nan", "snr must be off or a number of dB from -60 to 60, not \"nan\""},
        {"snr", "61", "snr must be off or a number of dB from -60 to 60, not \"61\""},
        {"agc", "auto", "agc must be off, fast, medium or slow, not \"auto\""},
        {"passband", "yes", "passband must be on or off, not \"yes\""},
        {"colour", "red", "unknown setting \"colour\""},
    };
    for (const auto& c : cases) {
        PracticeSettings s;
        std::string error;
        EXPECT_FALSE(setSettingsField(s, c.name, c.value, error)) << c.name;
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(s, PracticeSettings{}) << "a refused value changes nothing: " << c.name;
    }
}

}  // namespace
}  // namespace tessaly
