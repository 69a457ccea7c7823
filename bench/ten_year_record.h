#pragma once
// A learner's record of ten years of daily practice, for the benchmarks and for
// timing the commands by hand: two practices a day of ten callsigns each (73,000
// callsigns), one answer in eight with a character missed, a threshold run on
// Sundays, ending today; each practice with its id.
#include "learning/learning_record.h"
#include "learning/practice_record.h"
#include "learning/review_boxes.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>

namespace tessaly::bench {

inline std::string localToday() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm parts{};
    localtime_r(&now, &parts);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &parts);
    return text;
}

// One practice of `calls` callsigns on `date` at `time`, drawn from `random`.
inline PracticeRecord madeUpPractice(std::mt19937& random, const std::string& date, const char* time, int calls,
                                     bool threshold) {
    static const char* const kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    PracticeRecord p{date, time, "exam", std::to_string(3 + pick(5)), threshold ? "snr" : "S" + std::to_string(1 + pick(5)),
                     {}, {}};
    if (pick(4) == 0) p.conditions.push_back("qrn");
    if (pick(4) == 0) p.conditions.push_back("qsb");
    p.seconds = 60 + pick(200);
    for (int n = 1; n <= calls; ++n) {
        std::string line = {kLetters[pick(26)], kLetters[pick(26)], static_cast<char>('0' + pick(10))};
        for (int i = 0, suffix = 1 + pick(3); i < suffix; ++i) line += kLetters[pick(26)];
        if (pick(20) == 0) line += pick(2) ? "/m" : "/q";
        std::string copy = line.substr(0, line.find('/'));
        std::string answer = copy;
        if (pick(8) == 0) answer[static_cast<std::size_t>(pick(static_cast<int>(answer.size())))] = kLetters[pick(26)];
        if (line.ends_with("/m")) copy += "/M", answer += "/M";
        if (line.ends_with("/q")) copy += "/QRP", answer += "/QRP";
        PracticeRow row{n, answer, copy, answer == copy, line};
        if (threshold) row.snrDb = 6 - 2 * (n % 5);
        p.rows.push_back(row);
    }
    if (threshold) p.thresholdDb = -2.5 + pick(40) / 10.0, p.thresholdSe = 1.5;
    char id[20];
    std::snprintf(id, sizeof id, "%08x%08x", static_cast<unsigned>(random()), static_cast<unsigned>(random()));
    p.id = id;
    return p;
}

// The record's whole text: 3,650 days up to `lastDay` ("YYYY-MM-DD").
inline std::string tenYearRecord(const std::string& lastDay, int days = 3650) {
    std::mt19937 random(2024);
    std::string text;
    for (int day = -days + 1; day <= 0; ++day) {
        const std::string date = addDays(lastDay, day);
        const bool sunday = (day % 7) == 0;
        text += recordLines(madeUpPractice(random, date, "07:30:00", 10, false), text.empty());
        text += recordLines(madeUpPractice(random, date, "21:10:00", 10, sunday), false);
    }
    return text;
}

}  // namespace tessaly::bench
