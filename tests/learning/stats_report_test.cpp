#include "learning/results_csv.h"
#include "learning/stats_report.h"
#include "learning/stats_json.h"
#include "learning/stats_text.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace tessaly {
namespace {

PracticeRecord practice(const char* date, const char* time, const char* words, std::vector<PracticeRow> rows) {
    return {date, time, words, "5", "off", {}, std::move(rows)};
}

// Read back from results files, as `tessaly stats` has them: the units come from
// the `read` column, without the lower-case codes.
std::vector<PracticeRecord> throughFiles(const std::vector<PracticeRecord>& records) {
    std::string text;
    for (const PracticeRecord& r : records) text += resultsCsv(r);
    std::vector<PracticeRecord> back;
    std::string error;
    EXPECT_TRUE(parseResultsCsv(text, back, error)) << error;
    return back;
}

TEST(StatsReport, PracticesOldestFirstAndUnitsWorstFirst) {
    const auto report = statsReport(throughFiles({
        practice("2024-05-02", "08:00:00", "exam",
                 {{1, "G4ABC/M", "G4ABC/QRP", false, "G4ABC/q"}, {2, "G4ABC/QRP", "G4ABC/QRP", true, "G4ABC/q"}}),
        practice("2024-05-01", "23:59:59", "standard",
                 {{1, "JA1ABC", "JA1ABC/M", false, "JA1ABC/m"}, {2, "W1AW/MM", "W1AW/MM", true, "W1AW/mm"},
                  {3, "BA4XY", "BA4XY", true, "BA4XY"}, {4, "DL2XY/7", "DL2XY/7", true, "DL2XY/7"}}),
        practice("2024-05-02", "08:00:00", "places", {{1, "K1ABC/PP", "K1ABC/P", false, "K1ABC/P"}}),
    }));

    struct Practice {
        const char* date;
        const char* words;  // tells apart the two at the same time
        int copied, rows;
    } practices[] = {{"2024-05-01", "standard", 3, 4}, {"2024-05-02", "exam", 1, 2}, {"2024-05-02", "places", 0, 1}};
    ASSERT_EQ(report.practices.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(report.practices[i].date, practices[i].date) << i;
        EXPECT_EQ(report.practices[i].words, practices[i].words) << i;
        EXPECT_EQ(report.practices[i].copied, practices[i].copied) << i;
        EXPECT_EQ(report.practices[i].rows, practices[i].rows) << i;
        EXPECT_DOUBLE_EQ(report.practices[i].copyRate, static_cast<double>(practices[i].copied) / practices[i].rows);
    }
    EXPECT_EQ(report.rows, 7);
    EXPECT_EQ(report.copied, 4);

    // QRP 1 of 2 (as "M"), MOBILE 1 of 3 (left out), "/" 1 of 6 (left out).
    ASSERT_GE(report.units.size(), 3u);
    EXPECT_EQ(report.units[0].unit, "QRP");
    EXPECT_EQ(report.units[0].read, 2);
    EXPECT_EQ(report.units[0].mostWrittenAs, "M");
    EXPECT_EQ(report.units[0].mostWrittenAsCount, 1);
    EXPECT_DOUBLE_EQ(report.units[0].missedShare, 0.5);
    EXPECT_EQ(report.units[1].unit, "MOBILE");
    EXPECT_EQ(report.units[1].omitted, 1);
    EXPECT_EQ(report.units[2].unit, "/");
    EXPECT_EQ(report.units[2].read, 6);
    EXPECT_EQ(report.weakest, (std::vector<std::string>{"QRP", "MOBILE", "/"}));
    EXPECT_EQ(report.inserted, (std::map<std::string, int>{{"P", 1}}));
}

TEST(StatsReport, ThresholdsDaysTimeAndReviewBoxes) {
    PracticeRecord run = practice("2024-05-02", "08:00:00", "exam", {{1, "K1", "K1", true, "K1", 6.0}, {2, "K2", "K3", false, "K3", 2.0}});
    run.thresholdDb = -3.5, run.thresholdSe = 0.8, run.seconds = 200, run.noise = "snr";
    run.thresholdMethod = "characters", run.thresholdWholeDb = 2.5;
    PracticeRecord stopped = practice("2024-05-02", "09:00:00", "exam", {{1, "K1", "K1", true, "K1", 6.0}});  // no threshold
    stopped.seconds = 40, stopped.noise = "snr";
    PracticeRecord earlier = practice("2024-05-01", "07:00:00", "exam", {{1, "BA4YX", "BA4XY", false, "BA4XY"}});
    earlier.thresholdDb = 1, earlier.thresholdSe = 1.2, earlier.seconds = 100;
    const auto report = statsReport(throughFiles({run, stopped, earlier}), "2024-05-03");

    ASSERT_EQ(report.thresholds.size(), 2u) << "only marked threshold runs";
    EXPECT_EQ(report.thresholds[0].date, "2024-05-01");
    EXPECT_DOUBLE_EQ(report.thresholds[0].snrDb, 1.0);
    EXPECT_EQ(report.thresholds[1].time, "08:00:00");
    EXPECT_DOUBLE_EQ(report.thresholds[1].snrDb, -3.5);
    EXPECT_DOUBLE_EQ(report.thresholds[1].se, 0.8);
    EXPECT_EQ(report.thresholds[1].trials, 2);
    EXPECT_EQ(report.thresholds[1].wholeSnrDb, 2.5);
    EXPECT_EQ(report.thresholds[1].conditions.method, "characters");
    EXPECT_EQ(report.thresholds[0].conditions.method, "callsigns") << "kept without a method";
    // A record of 26 columns, from before the method: its runs are whole-callsign thresholds.
    std::vector<PracticeRecord> old;
    std::string error;
    ASSERT_TRUE(parseResultsCsv(std::string(kResultsHeaderBeforeMethod) +
                                    "\r\n1,K1,K1,Y,2024-05-01,09:05:00,exam,5,snr,,K 1,2,-1.5,1.1,off,off,off,0,,awb,set,,,,,\r\n",
                                old, error))
        << error;
    EXPECT_EQ(thresholdConditions(old[0]), (ThresholdConditions{"callsigns", "exam", false, "awb", "off", false, "off"}));

    ASSERT_EQ(report.days.size(), 2u);
    EXPECT_EQ(report.days[1].date, "2024-05-02");
    EXPECT_EQ(report.days[1].practices, 2);
    EXPECT_EQ(report.days[1].rows, 3);
    EXPECT_EQ(report.days[1].copied, 2);
    EXPECT_EQ(report.days[1].seconds, 240);
    EXPECT_EQ(report.seconds, 340);

    EXPECT_EQ(report.asOf, "2024-05-03");
    const auto unit = [&](const char* name) {
        return *std::find_if(report.units.begin(), report.units.end(), [&](const UnitSummary& u) { return u.unit == name; });
    };
    EXPECT_EQ(unit("Y").box, 1) << "missed on 1 May";
    EXPECT_EQ(unit("Y").due, "2024-05-02");
    EXPECT_EQ(unit("K").box, 2) << "first read on 2 May, three times, never missed: up from box 1";
    EXPECT_EQ(unit("K").due, "2024-05-04");
}

// Copy rates by voice leave the pile-ups out; a pile-up's rate is its stations worked per hour.
TEST(StatsReport, SpeakersAndPileupRatesThroughFiles) {
    const auto row = [](int n, const char* answer, const char* line, const char* speaker) {
        return PracticeRow{n, answer, line, std::string(answer) == line, line, {}, speaker};
    };
    const auto caller = [](int n, int round, const char* outcome) {
        return PracticeRow{n, "", "K1ABC", false, "K1ABC", {}, "kal", round, -6.5, 120, outcome, 3};
    };
    PracticeRecord pile = practice("2024-05-02", "09:00:00", "exam",
                                   {caller(1, 1, "worked"), caller(2, 1, "busted"), caller(3, 2, "missed"), caller(4, 2, "worked")});
    pile.seconds = 240;
    const StatsReport report = statsReport(throughFiles(
        {pile, practice("2024-05-01", "08:00:00", "exam",
                        {row(1, "K1A", "K1A", "slt"), row(2, "K1B", "K1C", "slt"), row(3, "K1D", "K1D", ""), row(4, "K1E", "K1E", "awb")})}));
    const struct {
        const char* speaker;
        int copied, rows;
    } speakers[] = {{"default", 1, 1}, {"awb", 1, 1}, {"slt", 1, 2}};
    ASSERT_EQ(report.speakers.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(report.speakers[i].speaker, speakers[i].speaker);
        EXPECT_EQ(report.speakers[i].copied, speakers[i].copied) << speakers[i].speaker;
        EXPECT_EQ(report.speakers[i].rows, speakers[i].rows) << speakers[i].speaker;
    }
    ASSERT_EQ(report.pileups.size(), 1u);
    const PileupSummary& p = report.pileups[0];
    EXPECT_EQ(std::make_tuple(p.date, p.rounds, p.callers, p.worked, p.busted, p.seconds),
              std::make_tuple(std::string("2024-05-02"), 2, 4, 2, 1, 240));
    EXPECT_DOUBLE_EQ(p.ratePerHour, 30);

    const std::string text = statsText(report);
    EXPECT_NE(text.find("报读人声  抄对  共  正确率\n词表原声     1   1    100%\nawb          1   1    100%\nslt          1   2     50%\n"),
              std::string::npos) << text;
    EXPECT_NE(text.find("2024-05-02  09:00:00   2     4     2     1  4 分钟          30\n"), std::string::npos) << text;
    const nlohmann::json json = nlohmann::json::parse(statsJson(report, {"", true, {"a.csv"}, {}}));
    EXPECT_EQ(json["bySpeaker"][2], nlohmann::json::parse(R"({"speaker": "slt", "callsigns": 2, "copied": 1, "copyRate": 0.5})"));
    EXPECT_EQ(json["pileups"][0]["ratePerHour"], 30.0);
}

StatsReport handMade() {
    StatsReport r;
    r.practices = {{"2024-05-01", "09:05:00", "exam", "5", "off", {}, 200, 199, 0.995, 600, {"path=poor", "passband", "agc=medium"}},
                   {"2024-05-03", "21:30:00", "standard", "random", "S3", {"qrn", "vary-tone"}, 200, 1, 0.005, 0, {}}};
    r.days = {{"2024-05-01", 1, 200, 199, 600, 0.995}, {"2024-05-03", 1, 200, 1, 0, 0.005}};
    r.rows = 400;
    r.copied = 200;
    r.seconds = 3900;
    r.units = {{"Y", 10, 5, 1, 0.5, "V", 3, 1, "2024-05-04"}, {"MOBILE", 3, 1, 1, 1.0 / 3, "", 0, 2, "2024-05-03"},
               {"A", 40, 0, 0, 0.0, "", 0, 5, "2024-05-19"}};
    r.weakest = {"Y", "MOBILE"};
    r.inserted = {{"/", 1}, {" ", 2}};
    r.asOf = "2024-05-03";
    return r;
}

TEST(StatsText, SummaryFirstThenAlignedTablesInChinese) {
    EXPECT_EQ(statsText(handMade()),
              "共 2 次练习，2024-05-01 至 2024-05-03，练了 2 天，用时 1 小时 5 分钟：400 个呼号抄对 200 个（50%）\n"
              "最近一次 2024-05-03 21:30:00：200 个抄对 1 个（1%）\n"
              "接下来练：Y（错 50%）、MOBILE（错 33%）\n"
              "2024-05-03 该复习：MOBILE\n"
              "写了但没有读的：\" \" 2 次、\"/\" 1 次\n"
              "\n"
              "各次练习，从早到晚\n"
              "日期        时间      词表      速度    噪声  抄对   共  正确率     用时  条件\n"
              "2024-05-01  09:05:00  exam      5       off    199  200     99%  10 分钟  path=poor passband agc=medium\n"
              "2024-05-03  21:30:00  standard  random  S3       1  200      1%        -  qrn vary-tone\n"
              "\n"
              "各字符，错得最多的在前\n"
              "字符    读  错  错的比例  漏掉  复习箱  到期        最常写成\n"
              "Y       10   5       50%     1       1  2024-05-04  \"V\" 3 次\n"
              "MOBILE   3   1       33%     1       2  2024-05-03\n"
              "A       40   0        0%     0       5  2024-05-19\n");
}

// Only runs of one method and the same conditions are compared; each kind has its table.
TEST(StatsText, ThresholdsOverTimeKeptApartByConditions) {
    StatsReport r = handMade();
    const ThresholdConditions old, characters{"characters"}, received{"characters", "exam", false, "default", "off", true};
    r.thresholds = {{"2024-04-01", "09:00:00", 3, 1.5, 20, std::nullopt, old},
                    {"2024-05-01", "09:05:00", -1.5, 0.5, 20, 4.5, characters},
                    {"2024-05-02", "10:00:00", 9, 0.6, 20, 15, received},
                    {"2024-05-03", "21:30:00", -4, 0.4, 30, 2, characters}};
    const std::string text = statsText(r);
    for (const char* part :
         {"整个呼号的阈值（旧的测法：抄对一半呼号时的信噪比，越低越好），词表 exam，声音 default，路径 off，接收机 关，从早到晚\n"
          "日期        时间      阈值 dB    ±  呼号\n"
          "2024-04-01  09:00:00        3  1.5    20\n\n",
          "字符阈值（抄对一半字符时的信噪比，越低越好），词表 exam，声音 default，路径 off，接收机 关，从早到晚\n"
          "日期        时间      阈值 dB    ±  整个呼号 dB  呼号\n"
          "2024-05-01  09:05:00     -1.5  0.5          4.5    20\n"
          "2024-05-03  21:30:00       -4  0.4            2    30\n"
          "第一次 -1.5 dB，最近一次 -4 dB：低了 2.5 dB，进步了\n",
          "接收机 通带，从早到晚\n", "（条件不同的阈值不能相比，分开列出）\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    EXPECT_EQ(text.find("第一次"), text.rfind("第一次")) << "one comparison only";
    r.thresholds[3].se = 1.2;  // 2.5 dB apart, twice their combined error 2.6 dB: no longer clear
    EXPECT_NE(statsText(r).find("低了 2.5 dB，在误差之内\n"), std::string::npos);
}

TEST(StatsText, SaysWhenThereIsNothingToPractiseYet) {
    EXPECT_EQ(statsText({}), "还没有练习。\n");
    StatsReport r = handMade();
    r.weakest.clear();
    EXPECT_NE(statsText(r).find("接下来练：读得还太少，看不出来\n"), std::string::npos);
    r.units = {{"A", 1, 0, 0, 0.0, "", 0, 1, "2024-05-02"}};
    EXPECT_NE(statsText(r).find("到现在没有听错过字符\n"), std::string::npos);
}

TEST(StatsJson, OneObjectWithTheCountsThresholdsAndCharacters) {
    StatsReport r = handMade();
    r.thresholds = {{"2024-05-01", "09:05:00", -1.5, 1.1, 20}};
    const nlohmann::json json = nlohmann::json::parse(statsJson(r, {"/x/record.csv", true, {}, {"line 3: cut off before its line end"}}));
    EXPECT_EQ(json["source"], "record");
    EXPECT_EQ(json["record"], "/x/record.csv");
    EXPECT_EQ(json["practices"], 2);
    EXPECT_EQ(json["callsigns"], 400);
    EXPECT_EQ(json["copied"], 200);
    EXPECT_EQ(json["seconds"], 3900);
    EXPECT_EQ(json["thresholds"], nlohmann::json::parse(R"([{"date": "2024-05-01", "time": "09:05:00", "threshold": -1.5, "se": 1.1,
        "trials": 20, "method": "callsigns", "wholeThreshold": null, "conditions": {"words": "exam", "digits": "set",
        "speaker": "default", "path": "off", "passband": false, "agc": "off"}}])"));
    ASSERT_EQ(json["characters"].size(), 3u);
    EXPECT_EQ(json["characters"][0], nlohmann::json::parse(R"({"unit": "Y", "read": 10, "missed": 5, "omitted": 1, "share": 0.5,
        "box": 1, "due": "2024-05-04", "writtenAs": "V", "writtenAsCount": 3})"));
    EXPECT_EQ(json["byDay"][0]["copied"], 199);
    EXPECT_EQ(json["byPractice"][1]["conditions"], nlohmann::json::parse(R"(["qrn", "vary-tone"])"));
    EXPECT_EQ(json["warnings"][0], "line 3: cut off before its line end");

    const nlohmann::json files = nlohmann::json::parse(statsJson({}, {"", true, {"a.csv"}, {}}));
    EXPECT_EQ(files["source"], "files");
    EXPECT_EQ(files["files"][0], "a.csv");
    EXPECT_EQ(files["practices"], 0);
    EXPECT_TRUE(files["characters"].empty());
}

}  // namespace
}  // namespace tessaly
