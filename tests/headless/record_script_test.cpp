// The learning record from end to end, through `tessaly script` runs one after the
// other with the data and settings folders in a scratch folder: off, nothing on
// disk; `record on` keeps the practice; the next run with --record keeps recording
// without the script asking, and its drill favours what the first one missed; a
// damaged line costs nothing else; `record off` stops it; `record delete` asks;
// `tessaly stats` reads it; without --record a script leaves the record alone.
#include "headless/script_parser.h"
#include "headless/script_runner.h"
#include "learning/drill.h"
#include "learning/learning_record.h"
#include "practice/expected_copy.h"
#include "support/record_folders.h"
#include "support/run_tessaly.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace tessaly::testing {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

struct ScriptRun {
    int status = 0;
    std::vector<Json> events;
    std::string err;
    std::vector<Json> dumps() const {
        std::vector<Json> found;
        for (const Json& e : events)
            if (e.contains("dump")) found.push_back(e["dump"]);
        return found;
    }
    std::vector<Json> of(const std::string& event) const {
        std::vector<Json> found;
        for (const Json& e : events)
            if (e.value("event", "") == event) found.push_back(e);
        return found;
    }
};

// `record`: run with --record, the learner's record as the window left it.
ScriptRun script(const std::string& text, std::uint64_t seed, bool record = false) {
    ScriptOptions o;
    o.seed = seed;
    o.record = record;
    o.scriptPath = "record.script";
    std::istringstream in(text);
    std::ostringstream out, err;
    ScriptRun r;
    r.status = runScript(o, in, out, err);
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) r.events.push_back(Json::parse(line));
    r.err = err.str();
    return r;
}

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> linesOf(const std::string& practiceText) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < practiceText.size();) {
        const std::size_t end = practiceText.find("\r\n", at);
        lines.push_back(practiceText.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

// A practice of the given answers, each typed once its callsign has been read.
std::string practice(const std::vector<std::string>& answers) {
    std::string text = "settext Text2 \"" + std::to_string(answers.size()) + "\"\nclick Command4\n";
    for (const std::string& answer : answers) text += "wait 10000\ntype Text6 \"" + answer + "\\r\"\n";
    return text + "wait 1000\n";
}

constexpr std::uint64_t kSeed = 11;

TEST(RecordScript, OnKeepsItTheNextRunGoesOnAndItsDrillFavoursEarlierMissesOffStopsIt) {
    RecordFolders folders;

    // Off: a whole practice, an export and stats leave the folders empty.
    const ScriptRun first = script("settext Text2 \"4\"\nclick Command4\nwait 100\ndump\nclick Command5\n" +
                                 practice({"x", "x"}) + "export \"" + folders.other("results.csv") + "\"\n",
                             kSeed);
    ASSERT_EQ(first.status, 0) << first.err;
    const auto lines = linesOf(first.dumps().at(0)["practiceText"]);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_FALSE(first.dumps()[0].contains("record"));
    const ProgramRun noRecord = runTessaly({"stats", "--json"});
    EXPECT_EQ(noRecord.status, 0) << noRecord.err;
    EXPECT_FALSE(Json::parse(noRecord.out)["found"].get<bool>());
    EXPECT_TRUE(folders.kept().empty()) << folders.kept().front();
    EXPECT_TRUE(fs::exists(folders.other("results.csv")));

    // On: the same practice (same seed), every digit written as X, every letter right.
    std::vector<std::string> answers;
    for (const std::string& line : lines) {
        std::string copy = ExpectedCopy(line);
        for (char& c : copy) c = std::isdigit(static_cast<unsigned char>(c)) ? 'X' : c;
        answers.push_back(copy);
    }
    const ScriptRun on = script("record on\ndrill on\n" + practice(answers) + "dump\n", kSeed);
    ASSERT_EQ(on.status, 0) << on.err;
    EXPECT_EQ(linesOf(on.dumps().at(0)["practiceText"]).size(), 0u) << "marked";
    RecordContents kept = LearningRecord(folders.record()).read();
    ASSERT_EQ(kept.practices.size(), 1u);
    ASSERT_EQ(kept.practices[0].rows.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(kept.practices[0].rows[i].line, lines[i]) << "the same practice";
    EXPECT_TRUE(on.of("msgbox").empty());

    // The next run with --record, not asked in the script: it keeps recording, and
    // its drill favours the digits missed.
    std::string damaged = contents(folders.record());
    { std::ofstream(folders.record(), std::ios::app | std::ios::binary) << "2,garbled\r\n"; }
    const ScriptRun next = script("dump\nsettext Text2 \"8\"\nclick Command4\nwait 100\ndump\nwait 10000\ntype Text6 \"x\\r\"\n"
                            "wait 1000\nclick Command5\n",
                            kSeed + 1, true);
    ASSERT_EQ(next.status, 0) << next.err;
    const Json before = next.dumps().at(0);
    ASSERT_TRUE(before.contains("record"));
    const auto drill = before["record"]["drill"].get<std::vector<std::string>>();
    ASSERT_FALSE(drill.empty());
    for (const std::string& unit : drill) {
        EXPECT_TRUE(unit.size() == 1 && std::isdigit(static_cast<unsigned char>(unit[0]))) << unit << " was not missed";
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return callsignDrills(l, {unit}); }))
            << unit << " was not read in the earlier run";
    }
    const auto drilled = linesOf(next.dumps().at(1)["practiceText"]);
    ASSERT_EQ(drilled.size(), 8u);
    EXPECT_GE(std::count_if(drilled.begin(), drilled.end(), [&](const std::string& l) { return callsignDrills(l, drill); }), 4)
        << "at least half hold a drilled character";
    // The damaged line is said once, naming it; the practices on either side of it count.
    ASSERT_EQ(next.of("msgbox").size(), 1u);
    EXPECT_NE(next.of("msgbox")[0]["text"].get<std::string>().find("line 6"), std::string::npos);
    kept = LearningRecord(folders.record()).read();
    EXPECT_EQ(kept.practices.size(), 2u);
    ASSERT_EQ(kept.warnings.size(), 1u);
    EXPECT_EQ(contents(folders.record()).substr(0, damaged.size()), damaged) << "only ever appended to";

    // stats with no file reads the record.
    const ProgramRun stats = runTessaly({"stats", "--json"});
    ASSERT_EQ(stats.status, 0) << stats.err;
    const Json report = Json::parse(stats.out);
    EXPECT_EQ(report["practices"], 2);
    EXPECT_EQ(report["source"], "record");
    EXPECT_EQ(report["warnings"].size(), 1u);
    EXPECT_NE(stats.err.find("line 6"), std::string::npos);

    // Off: this run's practice is not kept, nor is the record on at the next start.
    const std::string kept2 = contents(folders.record());
    const ScriptRun off = script("record off\n" + practice({"x", "x"}), kSeed, true);
    ASSERT_EQ(off.status, 0) << off.err;
    EXPECT_EQ(contents(folders.record()), kept2);
    EXPECT_FALSE(fs::exists(folders.settings()));
    const ScriptRun after = script(practice({"x"}) + "dump\n", kSeed, true);
    EXPECT_FALSE(after.dumps().at(0).contains("record"));
    EXPECT_EQ(contents(folders.record()), kept2);

    // Deleted on request: the question, answered yes; then there is nothing to delete.
    const ScriptRun deleted = script("record delete\nrecord delete\n", kSeed);
    ASSERT_EQ(deleted.status, 0) << deleted.err;
    ASSERT_EQ(deleted.of("question").size(), 1u);
    EXPECT_EQ(deleted.of("question")[0]["answer"], "yes");
    EXPECT_FALSE(fs::exists(folders.record()));
    ASSERT_EQ(deleted.of("msgbox").size(), 1u);
}

// A script's result does not depend on who runs it: without --record, a learner's
// record left on is neither read nor added to, nor its settings file touched.
TEST(RecordScript, WithoutAskingAScriptLeavesTheLearnersRecordAlone) {
    RecordFolders folders;
    const std::string text = "drill on\n" + practice({"x", "x"}) + "dump\n";
    const ScriptRun none = script(text, kSeed);
    ASSERT_TRUE(folders.kept().empty());
    ASSERT_EQ(script("record on\ndrill on\n" + practice({"x", "x"}), kSeed + 1).status, 0);
    const std::string record = contents(folders.record()), settings = contents(folders.settings());
    const ScriptRun present = script(text, kSeed);
    EXPECT_EQ(present.events, none.events);
    EXPECT_EQ(contents(folders.record()), record);
    EXPECT_EQ(contents(folders.settings()), settings);
}

TEST(RecordScript, TheActionTakesOnOffOrDelete) {
    for (const char* good : {"record on", "record off", "record delete", "record on  # kept"})
        EXPECT_EQ(parseScriptLine(good, 1)->kind, ScriptAction::Kind::Record) << good;
    for (const char* bad : {"record", "record yes", "record on off", "record \"on\""})
        EXPECT_THROW(parseScriptLine(bad, 1), ScriptError) << bad;
}

// A record an older version began goes on: its rows keep their columns, the new
// practices come under a header of today's, and every practice reads back.
TEST(RecordScript, ARecordOfOlderColumnsGoesOn) {
    RecordFolders folders;
    fs::create_directories(fs::path(folders.record()).parent_path());
    std::ofstream(folders.record(), std::ios::binary)
        << "number,answer,expected,mark,date,time,words,speed,noise,conditions,read,snr,threshold,threshold_se,path,"
           "passband,agc,seconds\r\n1,BA4XY,BA4XY,Y,2024-05-01,10:00:00,exam,5,off,,B A 4 X Y,,,,off,off,off,30\r\n";
    for (std::uint64_t seed : {kSeed, kSeed + 1}) {
        const ScriptRun run = script((seed == kSeed ? "record on\n" : "") + practice({"x"}), seed, true);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(run.of("msgbox").empty()) << run.of("msgbox").front().dump();
    }
    const RecordContents read = LearningRecord(folders.record()).read();
    EXPECT_TRUE(read.warnings.empty()) << read.warnings.front();
    EXPECT_EQ(read.practices.size(), 3u);
}

}  // namespace
}  // namespace tessaly::testing
