#include "base/practice_settings.h"

#include "base/speakers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace tessaly {
namespace {

// Names in enum order.
constexpr std::array<std::string_view, 5> kWordSetNames = {"standard", "places", "other", "mixed", "exam"};
constexpr std::array<std::string_view, 6> kNoiseNames = {"off", "S1", "S2", "S3", "S4", "S5"};
constexpr std::array<std::string_view, 2> kModeNames = {"grouped", "continuous"};
constexpr std::array<std::string_view, 2> kSourceNames = {"random", "library"};
constexpr std::array<std::string_view, 6> kConditionNames = {"qrn", "qrm", "qsb", "vary-noise", "vary-speed", "vary-tone"};

template <std::size_t N>
std::optional<int> indexOf(const std::array<std::string_view, N>& names, std::string_view name) {
    for (std::size_t i = 0; i < N; ++i)
        if (names[i] == name) return static_cast<int>(i);
    return std::nullopt;
}

int conditionIndex(Condition c) {
    int i = 0;
    for (unsigned bit = c; bit > 1; bit >>= 1) ++i;
    return i;
}

bool wholeNumber(std::string_view text, int lo, int hi, int& out) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < lo || value > hi) return false;
    out = value;
    return true;
}

}  // namespace

std::string_view wordSetName(WordSet words) { return kWordSetNames[static_cast<std::size_t>(words)]; }
std::optional<WordSet> wordSetNamed(std::string_view name) {
    const auto i = indexOf(kWordSetNames, name);
    return i ? std::optional<WordSet>(static_cast<WordSet>(*i)) : std::nullopt;
}

std::string_view noiseLevelName(int level) { return kNoiseNames[static_cast<std::size_t>(level)]; }
std::optional<int> noiseLevelNamed(std::string_view name) { return indexOf(kNoiseNames, name); }
std::vector<std::string> noiseLevelNames() { return {kNoiseNames.begin(), kNoiseNames.end()}; }

std::string_view readingModeName(ReadingMode mode) { return kModeNames[static_cast<std::size_t>(mode)]; }
std::optional<ReadingMode> readingModeNamed(std::string_view name) {
    const auto i = indexOf(kModeNames, name);
    return i ? std::optional<ReadingMode>(static_cast<ReadingMode>(*i)) : std::nullopt;
}

std::string_view sourceName(CallsignSource source) { return kSourceNames[static_cast<std::size_t>(source)]; }
std::optional<CallsignSource> sourceNamed(std::string_view name) {
    const auto i = indexOf(kSourceNames, name);
    return i ? std::optional<CallsignSource>(static_cast<CallsignSource>(*i)) : std::nullopt;
}

std::string_view conditionName(Condition c) { return kConditionNames[static_cast<std::size_t>(conditionIndex(c))]; }
std::optional<Condition> conditionNamed(std::string_view name) {
    const auto i = indexOf(kConditionNames, name);
    return i ? std::optional<Condition>(static_cast<Condition>(1u << *i)) : std::nullopt;
}

const std::vector<Condition>& allConditions() {
    static const std::vector<Condition> all = {kQrn, kQrm, kQsb, kVaryNoise, kVarySpeed, kVaryTone};
    return all;
}

const std::vector<std::string>& agcNames() {
    static const std::vector<std::string> names = {"off", "fast", "medium", "slow"};
    return names;
}

const std::vector<std::string>& pathNames() {
    static const std::vector<std::string> names = {"off",           "good",         "moderate",      "poor",
                                                   "flutter",       "mid-quiet",    "mid-moderate",  "mid-disturbed",
                                                   "high-quiet",    "high-moderate", "high-disturbed"};
    return names;
}

std::string speedSetting(const PracticeSettings& s) {
    return s.has(kVarySpeed) ? "random" : std::to_string(s.speed);
}

std::string noiseSetting(const PracticeSettings& s) {
    if (s.snrDb) return "snr";
    if (s.has(kVaryNoise)) return "random";
    return std::string(noiseLevelName(s.noise));
}

std::vector<std::string> conditionNames(const PracticeSettings& s) {
    std::vector<std::string> names;
    for (Condition c : allConditions())
        if (s.has(c)) names.emplace_back(conditionName(c));
    return names;
}

std::string snrText(double snrDb) {
    // To a tenth of a dB, without a trailing ".0" and never "-0".
    const double tenths = std::round(snrDb * 10.0);
    char text[32];
    if (std::fmod(tenths, 10.0) == 0.0) {
        std::snprintf(text, sizeof text, "%.0f", tenths / 10.0 == 0.0 ? 0.0 : tenths / 10.0);
    } else {
        std::snprintf(text, sizeof text, "%.1f", tenths / 10.0);
    }
    return text;
}

SettingsFields additionFields(const PracticeSettings& s) {
    SettingsFields fields;
    if (s.snrDb) fields.emplace_back("snr", snrText(*s.snrDb));
    if (s.path != "off") fields.emplace_back("path", s.path);
    if (s.passband) fields.emplace_back("passband", "on");
    if (s.agc != "off") fields.emplace_back("agc", s.agc);
    if (s.threshold) fields.emplace_back("threshold", "on");
    if (s.speaker != "default") fields.emplace_back("speaker", s.speaker);
    if (s.figures) fields.emplace_back("digits", "figures");
    if (s.pileup) fields.emplace_back("pileup", std::to_string(s.pileup));
    if (s.pileupStream) fields.emplace_back("pileup-stream", "on");
    return fields;
}

SettingsFields settingsFields(const PracticeSettings& s) {
    std::string conditions;
    for (const std::string& name : conditionNames(s)) conditions += (conditions.empty() ? "" : ",") + name;
    SettingsFields fields = {
        {"words", std::string(wordSetName(s.words))},
        {"speed", std::to_string(s.speed)},
        {"tone", std::to_string(s.tone)},
        {"noise", std::string(noiseLevelName(s.noise))},
        {"conditions", conditions},
        {"mode", std::string(readingModeName(s.mode))},
        {"source", std::string(sourceName(s.source))},
        {"groups", std::to_string(s.groups)},
        {"snr", s.snrDb ? snrText(*s.snrDb) : "off"},
        {"path", s.path},
        {"passband", s.passband ? "on" : "off"},
        {"agc", s.agc},
        {"threshold", s.threshold ? "on" : "off"},
        {"speaker", s.speaker},
        {"digits", s.figures ? "figures" : "set"},
        {"pileup", s.pileup ? std::to_string(s.pileup) : "off"},
        {"pileup-stream", s.pileupStream ? "on" : "off"},
    };
    return fields;
}

std::string settingsLine(const SettingsFields& fields) {
    std::string line;
    for (const auto& [name, value] : fields) line += (line.empty() ? "" : " ") + name + "=" + value;
    return line;
}

bool setSettingsField(PracticeSettings& s, std::string_view name, std::string_view value, std::string& error) {
    auto bad = [&](std::string_view expected) {
        error = std::string(name) + " must be " + std::string(expected) + ", not \"" + std::string(value) + "\"";
        return false;
    };
    auto onOff = [&](bool& target) {
        if (value != "on" && value != "off") return bad("on or off");
        target = value == "on";
        return true;
    };
    if (name == "words") {
        const auto w = wordSetNamed(value);
        if (!w) return bad("exam, standard, places, other or mixed");
        s.words = *w;
    } else if (name == "speed") {
        if (!wholeNumber(value, 0, 10, s.speed)) return bad("0 to 10");
    } else if (name == "tone") {
        if (!wholeNumber(value, 80, 5000, s.tone)) return bad("80 to 5000");
    } else if (name == "noise") {
        const auto level = noiseLevelNamed(value);
        if (!level) return bad("off or S1 to S5");
        s.noise = *level;
    } else if (name == "conditions") {
        unsigned bits = 0;
        for (std::size_t start = 0; start < value.size();) {
            const std::size_t end = std::min(value.find(',', start), value.size());
            const auto c = conditionNamed(value.substr(start, end - start));
            if (!c) return bad("a comma-separated list of qrn, qrm, qsb, vary-noise, vary-speed, vary-tone");
            bits |= *c;
            start = end + 1;
        }
        s.conditions = bits;
    } else if (name == "mode") {
        const auto m = readingModeNamed(value);
        if (!m) return bad("grouped or continuous");
        s.mode = *m;
    } else if (name == "source") {
        const auto c = sourceNamed(value);
        if (!c) return bad("random or library");
        s.source = *c;
    } else if (name == "groups") {
        if (!wholeNumber(value, 0, 500, s.groups)) return bad("0 to 500");
    } else if (name == "snr") {
        if (value == "off") {
            s.snrDb.reset();
            return true;
        }
        double db = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), db);
        if (ec != std::errc() || end != value.data() + value.size() || !std::isfinite(db) || db < -60 || db > 60)
            return bad("off or a number of dB from -60 to 60");
        s.snrDb = db;
    } else if (name == "path") {
        if (value.empty()) return bad("a path preset");
        s.path = std::string(value);
    } else if (name == "passband") {
        return onOff(s.passband);
    } else if (name == "agc") {
        for (const std::string& speed : agcNames()) {
            if (speed == value) {
                s.agc = speed;
                return true;
            }
        }
        return bad("off, fast, medium or slow");
    } else if (name == "threshold") {
        return onOff(s.threshold);
    } else if (name == "speaker") {
        if (value != "default" && value != "varied" && !findSpeaker(value))
            return bad("default, varied or " + speakerNames());
        s.speaker = std::string(value);
    } else if (name == "digits") {
        if (value != "set" && value != "figures") return bad("set or figures");
        s.figures = value == "figures";
    } else if (name == "pileup") {
        if (value == "off") {
            s.pileup = 0;
            return true;
        }
        if (!wholeNumber(value, 2, 6, s.pileup)) return bad("off or 2 to 6");
    } else if (name == "pileup-stream") {
        return onOff(s.pileupStream);
    } else {
        error = "unknown setting \"" + std::string(name) + "\"";
        return false;
    }
    return true;
}

}  // namespace tessaly
