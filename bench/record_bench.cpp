// What a learner's ten-year record (73,000 callsigns) costs: the start of a
// session that has the record on (reading it, the review boxes, the analysis),
// the marking of one practice (appended, added to the analysis, the boxes again),
// and the stats report over it. The record is made up (ten_year_record.h) in a
// scratch data folder; the user's own folders are not touched.
//
//   tessaly_record_bench                      the figures
//   tessaly_record_bench --write-record FILE  only write such a record (to time the commands)
#include "form/learning_start.h"
#include "headless/headless_session.h"
#include "learning/learning_record.h"
#include "learning/learning_settings.h"
#include "learning/stats_text.h"
#include "ten_year_record.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

using namespace tessaly;
namespace fs = std::filesystem;

// A scratch data and settings folder holding the record, on.
class TenYearRecord {
public:
    TenYearRecord() {
        std::string pattern = (fs::temp_directory_path() / "tessaly_record_bench_XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data());
        ::setenv("XDG_DATA_HOME", (folder_ / "data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
        std::string error;
        const LearningRecord record = LearningRecord::atDataFolder(error);
        fs::create_directories(fs::path(record.path()).parent_path());
        std::ofstream(record.path(), std::ios::binary) << bench::tenYearRecord(bench::localToday());
        writeLearningSettings(learningSettingsPath(error), {true, std::nullopt, true}, error);
        path_ = record.path();
    }
    ~TenYearRecord() { fs::remove_all(folder_); }
    const std::string& path() const { return path_; }

private:
    fs::path folder_;
    std::string path_;
};

const TenYearRecord& record() {
    static const TenYearRecord made;
    return made;
}

// A session as the window starts one: the record on, read, the drill's course set.
std::unique_ptr<HeadlessSession> startedSession() {
    HeadlessSession::Options options;
    options.seed = 7;
    auto session = std::make_unique<HeadlessSession>(std::move(options));
    session->load();
    restoreLearning(session->input(), session->form(), RestoredSettings::RecordAndDrill);
    return session;
}

void BM_StartWithTheRecordOn(benchmark::State& state) {
    record();
    for (auto _ : state) {
        auto session = startedSession();
        benchmark::DoNotOptimize(session->form().review().analysis().practices());
    }
}
BENCHMARK(BM_StartWithTheRecordOn)->Unit(benchmark::kMillisecond);

// One callsign read and answered; the answer marks the practice, and only that is timed.
void BM_MarkAPractice(benchmark::State& state) {
    record();
    auto session = startedSession();
    UserInput& input = session->input();
    for (auto _ : state) {
        state.PauseTiming();
        input.setText("Text2", "1");
        input.click("Command4");
        while (!session->form().reader().waitingForAnswer()) session->clock().advance(100);
        state.ResumeTiming();
        input.type("Text6", "X\r");
    }
    if (session->form().review().analysis().practices() < 7300) state.SkipWithError("the record was not on");
}
BENCHMARK(BM_MarkAPractice)->Unit(benchmark::kMillisecond);

// `tessaly stats`: the record read, its report and the text.
void BM_StatsOfTheRecord(benchmark::State& state) {
    const LearningRecord file(record().path());
    for (auto _ : state) {
        RecordDigest digest;
        for (const PracticeRecord& p : file.read().practices) digest.add(p);
        benchmark::DoNotOptimize(statsText(digest.report(bench::localToday())).size());
    }
}
BENCHMARK(BM_StatsOfTheRecord)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-record") == 0) {
        std::ofstream(argv[2], std::ios::binary) << bench::tenYearRecord(bench::localToday());
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
