#include "learning/practice_record.h"

#include "base/practice_settings.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <initializer_list>
#include <random>

namespace tessaly {
namespace {

// Digits at `at`..`at + count` as a number; -1 when any is not a digit.
int digitsAt(std::string_view text, std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

void setRecordSettings(PracticeRecord& record, const PracticeSettings& settings) {
    record.words = wordSetName(settings.words);
    record.speed = speedSetting(settings);
    record.noise = noiseSetting(settings);
    record.conditions = conditionNames(settings);
    record.path = settings.path;
    record.passband = settings.passband;
    record.agc = settings.agc;
    record.figures = settings.figures;
}

bool isPileupOutcome(std::string_view outcome) {
    return outcome == "worked" || outcome == "missed" || outcome == "busted";
}

std::string newPracticeId() {
    std::random_device source;  // getrandom(2): not the practice's seeded random source
    const std::uint64_t value = (static_cast<std::uint64_t>(source()) << 32) ^ source();
    char text[20];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

bool isPracticeId(std::string_view id) {
    return !id.empty() && id.size() <= 64 && std::all_of(id.begin(), id.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    });
}

std::string latestRecordDate() {
    const std::time_t tomorrow = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now() + std::chrono::hours(24));
    std::tm parts{};
    localtime_r(&tomorrow, &parts);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &parts);
    return text;
}

bool isRecordDate(std::string_view date) {
    if (date.size() != 10 || date[4] != '-' || date[7] != '-') return false;
    const int year = digitsAt(date, 0, 4), month = digitsAt(date, 5, 2), day = digitsAt(date, 8, 2);
    if (year < 0 || month < 0 || day < 0) return false;
    return std::chrono::year_month_day{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                          std::chrono::day{static_cast<unsigned>(day)}}
        .ok();
}

bool isRecordTime(std::string_view time) {
    if (time.size() != 8 || time[2] != ':' || time[5] != ':') return false;
    const int hours = digitsAt(time, 0, 2), minutes = digitsAt(time, 3, 2), seconds = digitsAt(time, 6, 2);
    return hours >= 0 && hours <= 23 && minutes >= 0 && minutes <= 59 && seconds >= 0 && seconds <= 59;
}

bool isWordSetName(std::string_view words) { return wordSetNamed(words).has_value(); }

bool isSpeedSetting(std::string_view speed) {
    PracticeSettings s;
    std::string error;
    return speed == "random" || setSettingsField(s, "speed", speed, error);
}

bool isNoiseSetting(std::string_view noise) {
    return noise == "random" || noise == "snr" || noiseLevelNamed(noise).has_value();
}

bool isConditionName(std::string_view condition) { return conditionNamed(condition).has_value(); }

}  // namespace tessaly
