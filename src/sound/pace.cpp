#include "sound/pace.h"

#include <algorithm>

namespace tessaly {
namespace {

class SteadyPace final : public Pace {
public:
    explicit SteadyPace(std::int64_t ms) { anchor(ms); }

    std::int64_t nowMs() override {
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - zero_).count();
        last_ = std::max<std::int64_t>(last_, elapsed);
        return last_;
    }
    Clock::time_point when(std::int64_t ms) override { return zero_ + std::chrono::milliseconds(ms); }
    void anchor(std::int64_t ms) override {
        zero_ = Clock::now() - std::chrono::milliseconds(ms);
        last_ = ms;
    }

private:
    Clock::time_point zero_;  // where form time 0 falls on the steady clock
    std::int64_t last_ = 0;
};

}  // namespace

std::unique_ptr<Pace> steadyPace(std::int64_t ms) { return std::make_unique<SteadyPace>(ms); }

}  // namespace tessaly
