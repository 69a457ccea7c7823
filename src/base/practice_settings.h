#pragma once
// The settings a practice runs with, as one value, and the one vocabulary they are
// written in everywhere: the results file and the learning record, the render
// options, the script's dump and the answer key all use these names. The form reads
// the value from its controls in one place (practice/settings_of_form.h).
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessaly {

// In the order of the word-set buttons (Option7(0) .. Option7(4)).
enum class WordSet { Standard = 0, Places = 1, Other = 2, Mixed = 3, Exam = 4 };
enum class ReadingMode { Grouped, Continuous };
enum class CallsignSource { Random, Library };

// The band conditions a practice can have ticked, as bits.
enum Condition : unsigned {
    kQrn = 1u << 0,
    kQrm = 1u << 1,
    kQsb = 1u << 2,
    kVaryNoise = 1u << 3,
    kVarySpeed = 1u << 4,
    kVaryTone = 1u << 5,
};
constexpr unsigned kAllConditions = kQrn | kQrm | kQsb | kVaryNoise | kVarySpeed | kVaryTone;

struct PracticeSettings {
    WordSet words = WordSet::Exam;
    int speed = 5;        // 0 (fast) .. 10 (slow): the reader's interval is speed x 120 + 500 ms
    int tone = 2500;      // centre of the voice's tone boost, Hz, 80 .. 5000
    int noise = 0;        // band-noise level: 0 off, 1 .. 5 for S1 .. S5
    unsigned conditions = 0;  // Condition bits
    ReadingMode mode = ReadingMode::Grouped;
    CallsignSource source = CallsignSource::Random;
    int groups = 20;      // callsigns in the practice set

    // Additions; unset, the practice is the window's own.
    std::optional<double> snrDb;  // band noise at this signal-to-noise ratio instead of a level
    std::string path = "off";     // ionospheric path preset of both stations
    bool passband = false;        // the receiver's SSB passband
    std::string agc = "off";      // the receiver's AGC: off, fast, medium, slow
    bool threshold = false;       // an adaptive threshold run
    std::string speaker = "default";  // each set's own voice, one speaker's name, or varied (one a callsign)
    bool figures = false;         // digits as the figure code words (NADAZERO ..), not the set's own
    int pileup = 0;               // a pile-up of this many stations (2 .. 6); 0: none
    bool pileupStream = false;    // its callers come as a steady stream, not as a fixed set

    bool has(Condition c) const { return (conditions & c) != 0; }
    void set(Condition c, bool on) { conditions = on ? (conditions | c) : (conditions & ~static_cast<unsigned>(c)); }
    bool operator==(const PracticeSettings&) const = default;
};

// ---- names, one per value
std::string_view wordSetName(WordSet words);  // exam, standard, places, other, mixed
std::optional<WordSet> wordSetNamed(std::string_view name);
std::string_view noiseLevelName(int level);  // off, S1 .. S5
std::optional<int> noiseLevelNamed(std::string_view name);
std::vector<std::string> noiseLevelNames();  // every level's name, off first
std::string_view readingModeName(ReadingMode mode);  // grouped, continuous
std::optional<ReadingMode> readingModeNamed(std::string_view name);
std::string_view sourceName(CallsignSource source);  // random, library
std::optional<CallsignSource> sourceNamed(std::string_view name);
std::string_view conditionName(Condition c);  // qrn, qrm, qsb, vary-noise, vary-speed, vary-tone
std::optional<Condition> conditionNamed(std::string_view name);
// Every condition, in the window's order.
const std::vector<Condition>& allConditions();
// The AGC speeds the receiver offers.
const std::vector<std::string>& agcNames();  // off, fast, medium, slow
// The names of the ionospheric path presets, "off" first (what each does:
// sound/path_presets.h, which holds a preset for every one of them).
const std::vector<std::string>& pathNames();

// ---- as a practice shows them: "random" while the value is varied
std::string speedSetting(const PracticeSettings& s);  // "0" .. "10" or "random"
std::string noiseSetting(const PracticeSettings& s);  // off, S1 .. S5, random, or snr while an SNR is set
std::vector<std::string> conditionNames(const PracticeSettings& s);  // the ticked ones, in order
// A signal-to-noise ratio as written: "-3.5", "6" (dB, to a tenth).
std::string snrText(double snrDb);

// ---- the whole value as name=value fields, in a fixed order, and back
using SettingsFields = std::vector<std::pair<std::string, std::string>>;
SettingsFields settingsFields(const PracticeSettings& s);
// Only the additions that are set, for places that show the window's own settings
// elsewhere (the answer key's first line).
SettingsFields additionFields(const PracticeSettings& s);
// "words=exam speed=5 ...": fields joined by spaces.
std::string settingsLine(const SettingsFields& fields);
// Sets one field; false with a message naming the field when the name or value is unknown.
bool setSettingsField(PracticeSettings& s, std::string_view name, std::string_view value, std::string& error);

}  // namespace tessaly
