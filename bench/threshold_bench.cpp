// What the threshold run's estimate costs after an answer: the posterior takes the
// answer, the threshold is summed and the next callsign's SNR chosen (the answer
// box waits on it). Measured after 1, 10 and 49 answers of a run of 50.
#include "learning/threshold_estimate.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using tessaly::ThresholdRunPlan;

// A run of 50 answered by a listener of 10 % a dB about -4 dB, up to `given` answers.
ThresholdRunPlan answered(int given) {
    ThresholdRunPlan plan(50);
    for (int i = 0; i < given; ++i) {
        const double p = 1 / (1 + std::exp(-0.4 * (plan.snrDb() + 4)));
        plan.answer(6, static_cast<int>(std::lround(6 * p)));
    }
    return plan;
}

void AnswerTaken(benchmark::State& state) {
    const ThresholdRunPlan before = answered(static_cast<int>(state.range(0)) - 1);
    for (auto _ : state) {
        state.PauseTiming();
        ThresholdRunPlan plan = before;
        state.ResumeTiming();
        plan.answer(6, 3);
        benchmark::DoNotOptimize(plan.snrDb());
    }
}
BENCHMARK(AnswerTaken)->Arg(1)->Arg(10)->Arg(49)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
