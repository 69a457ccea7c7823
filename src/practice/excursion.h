#pragma once
// The scheduler-and-ramp pair behind fading and the random noise and tone
// variations. The scheduler timer waits at the top value, drawing on each tick
// whether an excursion starts; when one does, it draws the ramp's interval and the
// excursion's floor, hands over to the ramp timer and stops. The ramp timer steps
// the value down to the first step at or below the floor, turns without resting,
// climbs back to the top and, on the tick that finds it there, hands back. Exactly
// one of the two timers runs at a time.
//
// The excursion holds its value, its floor and its direction itself: the fade's
// level (band), the noise dips' level (band), the tone sweep's centre (the reader).
#include "base/random_source.h"
#include "practice/timer.h"

#include <algorithm>

namespace tessaly {

struct ExcursionRule {
    int top;                        // where the value rests between excursions
    int step;                       // per ramp tick
    int chanceSpan, chanceHit;      // an excursion starts when draw(chanceSpan, 0) == chanceHit
    int rampSpan, rampBase;         // the ramp's interval: draw(rampSpan, rampBase) ms
    int floorSpan, floorBase;       // the floor: draw(floorSpan, floorBase)
};

template <class Value, class Floor>
class Excursion {
public:
    Excursion(const ExcursionRule& rule, Timer& scheduler, Timer& ramp, RandomSource& random)
        : rule_(rule), scheduler_(scheduler), ramp_(ramp), random_(random) {}

    Value value() const { return value_; }
    Floor floor() const { return floor_; }
    bool down() const { return down_; }
    // Keeps the value within [lo, hi] (after a ramp step; the caller's rule).
    void clamp(Value lo, Value hi) { value_ = std::clamp(value_, lo, hi); }

    // The waiting state from its beginning: the scheduler at `intervalMs`.
    void start(int intervalMs) {
        scheduler_.setInterval(intervalMs);
        scheduler_.setEnabled(true);
    }
    // Both timers off; the value stays where it is.
    void stop() {
        scheduler_.setEnabled(false);
        ramp_.setEnabled(false);
    }

    // One scheduler tick: back at the top, and perhaps an excursion begins.
    void schedulerTick() {
        value_ = static_cast<Value>(rule_.top);
        down_ = true;
        random_.reseedFromClock();
        if (random_.draw(rule_.chanceSpan, 0) != rule_.chanceHit) return;
        random_.reseedFromClock();
        ramp_.setInterval(random_.draw(rule_.rampSpan, rule_.rampBase));
        ramp_.setEnabled(true);
        random_.reseedFromClock();
        floor_ = static_cast<Floor>(random_.draw(rule_.floorSpan, rule_.floorBase));
        scheduler_.setEnabled(false);
    }

    // One ramp step; the first matching case only. The caller clamps and applies.
    void rampTick() {
        if (value_ <= rule_.top && value_ > floor_ && down_) {
            value_ = static_cast<Value>(value_ - rule_.step);
        } else if (value_ <= rule_.top - rule_.step) {
            down_ = false;
            value_ = static_cast<Value>(value_ + rule_.step);
        } else if (value_ == rule_.top && !down_) {
            down_ = true;
            scheduler_.setEnabled(true);
            ramp_.setEnabled(false);
        }
    }

private:
    const ExcursionRule& rule_;
    Timer& scheduler_;
    Timer& ramp_;
    RandomSource& random_;
    Value value_{};
    Floor floor_{};
    bool down_ = false;
};

}  // namespace tessaly
