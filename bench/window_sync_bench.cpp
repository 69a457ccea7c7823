// What the window costs the UI thread after each timer tick: while a practice runs
// the supervisory timer ticks every 10 ms and the window is brought up to date
// after every tick. A practice of 500 callsigns (the most the form takes) on the
// offscreen platform.
#include "practice/virtual_clock.h"
#include "shell/qt/desktop_session.h"
#include "sound/tracing_sound.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace tessaly;

struct Practice {
    VirtualClock clock;
    TracingSoundPlatform sound{nullptr, {}};
    std::unique_ptr<qt::DesktopSession> session;

    // `groups` callsigns; with `marked`, stopped at once so that every row is marked.
    Practice(const char* groups, bool marked) {
        qt::SessionOptions options;
        options.seed = 7;
        options.clock = &clock;
        options.presenter = [](QWidget*, const QString&, const QString&) {};
        session = std::make_unique<qt::DesktopSession>(sound, std::move(options));
        session->load();
        session->input().setText("Text2", groups);
        session->input().click("Command4");
        if (marked) session->input().click("Command5");
        session->window().syncFromModel();
    }
};

// A tick that changed nothing the window shows: most of the 100 ticks a second.
void BM_SyncWithNothingChanged(benchmark::State& state) {
    Practice p("500", /*marked=*/true);
    for (auto _ : state) p.session->window().syncFromModel();
}
BENCHMARK(BM_SyncWithNothingChanged);

// Ticks of a running practice, each with its sync: the supervisory timer every
// 10 ms, the reader and the clock label among them.
void BM_PractisingTickAndSync(benchmark::State& state) {
    Practice p("500", /*marked=*/false);
    for (auto _ : state) {
        p.clock.advance(10);
        p.session->window().syncFromModel();
    }
}
BENCHMARK(BM_PractisingTickAndSync);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
