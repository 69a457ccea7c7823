#pragma once
// One finished practice as it is kept: its settings, and each callsign read with
// the answer given and the mark it got. The settings are in the words of
// base/practice_settings.h (wordSetName, speedSetting, noiseSetting, ...).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

struct PracticeRow {
    int number = 0;        // from 1, as in the answer list
    std::string answer;    // as typed (upper-cased by the answer box)
    std::string expected;  // the expected copy the answer was marked against
    bool copied = false;   // the mark: Y when true
    std::string line;      // the practice-text line as read, with its codes: "JA1ABC/m"
    std::optional<double> snrDb{};  // the SNR it was read at, dB; none when no SNR was set
    std::string speaker{};          // whose voice read it: "" for each word set's own
    // A pile-up's caller: its round (0: no pile-up), its level below the round's
    // strongest (dB) and its start (ms), how it went and the calls it made.
    int round = 0;
    double levelDb = 0;
    int offsetMs = 0;
    std::string outcome{};  // worked, missed or busted
    int calls = 0;
    bool operator==(const PracticeRow&) const = default;
};

struct PracticeRecord {
    std::string date;   // "YYYY-MM-DD", local
    std::string time;   // "HH:MM:SS", local, when the practice started
    std::string words;  // exam, standard, places, other or mixed
    std::string speed;  // "0".."10" or "random"
    std::string noise;  // off, S1..S5 or random
    std::vector<std::string> conditions;  // any of qrn qrm qsb vary-noise vary-speed vary-tone
    std::vector<PracticeRow> rows;
    // Additions; the defaults are the window's own practice.
    std::optional<double> thresholdDb{};  // a marked threshold run's threshold, dB
    std::optional<double> thresholdSe{};  // and its standard error, dB
    // How it was found: "characters" (each answer scored by character, the SNR at
    // which half the characters are copied); "" for runs kept before, which found the
    // SNR at which half the whole callsigns are copied.
    std::string thresholdMethod{};
    std::optional<double> thresholdWholeDb{};  // "characters": half the whole callsigns, dB
    std::string path = "off";  // ionospheric path preset
    bool passband = false;     // the receiver's SSB passband
    std::string agc = "off";   // off, fast, medium or slow
    int seconds = 0;           // how long the practice ran, whole seconds (0 in files from before)
    // The practice's own name, told apart from every other practice's (two started
    // in the same second, by two programs or one script); "" in files from before.
    std::string id{};
    bool figures = false;  // the digits were the figure code words
    bool operator==(const PracticeRecord&) const = default;
};

struct PracticeSettings;
// Fills the record's settings (words, speed, noise, conditions, path, passband,
// agc) from the practice's, in the vocabulary's words; date, time, rows, threshold
// and seconds are left as they are.
void setRecordSettings(PracticeRecord& record, const PracticeSettings& settings);

// A new practice id: 16 hexadecimal digits from the system's random source, so
// that no two programs, machines or runs of a script make the same.
std::string newPracticeId();

// The values a record may hold, as a results file is checked against them.
bool isPracticeId(std::string_view id);    // 1 to 64 of A-Z a-z 0-9 - _
bool isPileupOutcome(std::string_view outcome);  // worked, missed, busted
bool isRecordDate(std::string_view date);  // a real calendar day
// The latest day a practice may be of: tomorrow, local time (a clock a few hours
// off, another time zone). A later date is no practice's.
std::string latestRecordDate();
bool isRecordTime(std::string_view time);
bool isWordSetName(std::string_view words);
bool isSpeedSetting(std::string_view speed);
bool isNoiseSetting(std::string_view noise);
bool isConditionName(std::string_view condition);

}  // namespace tessaly
