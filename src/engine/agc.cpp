#include "engine/agc.h"

#include "engine/mixer.h"

#include <algorithm>
#include <cmath>

namespace tessaly {
namespace {

double amplitude(double db) { return std::pow(10.0, db / 20); }

// While holding, a peak this close under the envelope (1 dB) keeps the hold going: the
// crests of a steady tone fall between samples and never quite reach the envelope.
const double kHoldShare = amplitude(-1);

}  // namespace

double Agc::hangMs(AgcSpeed speed) {
    switch (speed) {
    case AgcSpeed::Fast: return 50;
    case AgcSpeed::Medium: return 125;
    case AgcSpeed::Slow: return 250;
    case AgcSpeed::Off: break;
    }
    return 0;
}

double Agc::decayMs(AgcSpeed speed) { return hangMs(speed); }

double Agc::referenceAmplitude() { return amplitude(kReferenceOutputDb - kOutputHeadroomDb); }
double Agc::ceilingAmplitude() { return amplitude(kCeilingOutputDb - kOutputHeadroomDb); }

Agc::Agc(int sampleRate)
    : rate_(sampleRate),
      lookAhead_(std::max(1, static_cast<int>(std::lround(kLookAheadMs * sampleRate / 1000)))),
      attack_(1 - std::exp(-1000.0 / (kAttackMs * sampleRate))),
      reference_(referenceAmplitude()),
      ceiling_(ceilingAmplitude()),
      floor_(reference_ / amplitude(kMaxGainDb)),
      delayLine_(static_cast<std::size_t>(lookAhead_), 0.0f) {
    restart();
}

void Agc::setSpeed(AgcSpeed speed) {
    if (speed == speed_) return;
    const bool starting = speed_ == AgcSpeed::Off;
    speed_ = speed;
    hangFrames_ = static_cast<int>(std::lround(hangMs(speed) * rate_ / 1000));
    decay_ = speed == AgcSpeed::Off ? 1.0 : std::exp(-1000.0 / (decayMs(speed) * rate_));
    if (starting) restart();
}

void Agc::reset() {
    std::fill(delayLine_.begin(), delayLine_.end(), 0.0f);
    next_ = 0;
    restart();
}

void Agc::restart() {
    // As if the sound had been at the reference until now: gain 0 dB, held.
    envelope_ = reference_;
    gain_ = 1;
    hangLeft_ = hangFrames_;
    holding_ = true;
}

float Agc::gainDb() const {
    return speed_ == AgcSpeed::Off ? 0.0f : static_cast<float>(20 * std::log10(gain_));
}

void Agc::process(float* samples, int frames) {
    float* line = delayLine_.data();
    if (speed_ == AgcSpeed::Off) {
        for (int i = 0; i < frames; ++i) {
            const float in = samples[i];
            samples[i] = line[next_];
            line[next_] = in;
            if (++next_ == lookAhead_) next_ = 0;
        }
        return;
    }
    const auto ceiling = static_cast<float>(ceiling_);
    for (int i = 0; i < frames; ++i) {
        const float in = samples[i];
        // The detector sees the sound lookAhead_ frames before it is heard.
        const double level = std::fabs(in);
        if (level >= envelope_) {
            envelope_ = level;
            hangLeft_ = hangFrames_;
            holding_ = true;
        } else if (holding_) {
            if (level >= kHoldShare * envelope_) {
                hangLeft_ = hangFrames_;
            } else if (--hangLeft_ <= 0) {
                holding_ = false;
            }
        } else {
            envelope_ = std::max(envelope_ * decay_, floor_);
        }
        const double target = reference_ / std::max(envelope_, floor_);
        if (target < gain_ * (1 - 1e-6)) {
            gain_ *= std::exp(attack_ * std::log(target / gain_));  // a share of the way, in dB
        } else {
            gain_ = target;  // rising: the envelope decays smoothly already
        }
        const float out = static_cast<float>(line[next_] * gain_);
        samples[i] = std::clamp(out, -ceiling, ceiling);
        line[next_] = in;
        if (++next_ == lookAhead_) next_ = 0;
    }
}

}  // namespace tessaly
