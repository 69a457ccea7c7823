#pragma once
// What `tessaly stats` shows: how each practice went, the thresholds of the
// threshold runs over time, which characters are missed most over all of them and
// where each stands in its review box. A plain struct, for the text report, the
// JSON and a chart.
#include "learning/practice_record.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

struct PracticeSettings;

struct PracticeSummary {
    std::string date, time, words, speed, noise;
    std::vector<std::string> conditions;
    int rows = 0;
    int copied = 0;         // rows marked Y
    double copyRate = 0.0;  // copied / rows; 0 for a practice without rows
    int seconds = 0;        // how long it ran; 0 when not known
    // What acted on the signal, as render's options name it: "path=poor", "passband",
    // "agc=medium" (none when neither the path nor the receiver was on).
    std::vector<std::string> channel;
};

// What a threshold depends on besides the learner: two runs are compared only when
// all of it is the same.
struct ThresholdConditions {
    // characters: half the characters copied; callsigns: half the whole callsigns
    // (the runs kept before characters were scored).
    std::string method = "callsigns";
    std::string words = "exam";
    bool figures = false;             // the digits as the figure code words
    std::string speaker = "default";  // default, a speaker's name, or varied
    std::string path = "off";
    bool passband = false;
    std::string agc = "off";
    bool operator==(const ThresholdConditions&) const = default;
};
// A kept practice's: its settings, and the speaker its rows were read by.
ThresholdConditions thresholdConditions(const PracticeRecord& practice);
// A practice about to start with these settings, found by `method`.
ThresholdConditions thresholdConditions(const PracticeSettings& settings, std::string method);
// "词表 exam，声音 default，路径 off，接收机 关", and for the digits as figure code
// words "，数字 figures"; the method is said apart.
std::string conditionsText(const ThresholdConditions& conditions);

// One marked threshold run.
struct ThresholdSummary {
    std::string date, time;
    double snrDb = 0;  // the threshold
    double se = 0;     // its standard error, dB
    int trials = 0;    // the callsigns of the run
    std::optional<double> wholeSnrDb{};  // characters: half the whole callsigns, dB
    ThresholdConditions conditions{};
};

// The practices of one day.
struct DaySummary {
    std::string date;
    int practices = 0;
    int rows = 0;
    int copied = 0;
    int seconds = 0;
    double copyRate = 0.0;
};

// The callsigns read in one voice, over every practice but the pile-ups.
struct SpeakerSummary {
    std::string speaker;  // "default" for each word set's own voice, else a speaker's name
    int rows = 0;
    int copied = 0;
    double copyRate = 0.0;
};

// One pile-up practice: its callers and how fast they were worked.
struct PileupSummary {
    std::string date, time;
    int rounds = 0;
    int callers = 0;
    int worked = 0;
    int busted = 0;            // callers that left with a bust
    int seconds = 0;           // how long it ran; 0 when not known
    double ratePerHour = 0.0;  // stations worked per hour of it; 0 when its time is not known
};

struct UnitSummary {
    std::string unit;  // "A", "7", "/", "MOBILE", "QRP"
    int read = 0;
    int missed = 0;
    int omitted = 0;  // the part of `missed` left out altogether
    double missedShare = 0.0;
    std::string mostWrittenAs;  // "" when it was never written as something else
    int mostWrittenAsCount = 0;
    int box = 0;                // review box 1 .. 5 (review_boxes.h); 0 when it has none
    std::string due{};          // when its review is due: "YYYY-MM-DD"
};

struct StatsReport {
    std::vector<PracticeSummary> practices;  // oldest first; equal times keep their order
    std::vector<ThresholdSummary> thresholds;  // oldest first
    std::vector<DaySummary> days;            // oldest first
    std::vector<SpeakerSummary> speakers;    // default first, then by name
    std::vector<PileupSummary> pileups;      // oldest first
    std::vector<UnitSummary> units;          // worst first, as ErrorAnalysis ranks them
    std::vector<std::string> weakest;        // worth a drill: ErrorAnalysis::weakest()
    std::map<std::string, int> inserted;     // typed but never read
    int rows = 0;                            // over all practices
    int copied = 0;
    int seconds = 0;                         // time spent, as far as known
    std::string asOf;                        // the day the review boxes are for
};

// Each row's answer is aligned again with the units of its line (as recovered
// from a results file's `read` column); the marks give the copy rates. The review
// boxes are those of `asOf` ("YYYY-MM-DD"); "" takes the last practice's day.
StatsReport statsReport(const std::vector<PracticeRecord>& records, std::string_view asOf = "");

}  // namespace tessaly
