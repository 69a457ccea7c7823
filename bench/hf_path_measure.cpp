// Measures the ionospheric path and the receiver as they run in the program, at
// 48000 Hz, and prints what docs/hf_path.md reports:
//
//   tessaly_hf_path_measure [--quick]
//
// - each preset: a steady 1 kHz tone through the path; the Doppler spread (two sigma)
//   from the second moment of the faded tone's spectrum about 1 kHz (by Parseval, the
//   mean square rate of change of its complex envelope over its mean power) and from the
//   rate at which the envelope crosses its RMS level; the share of time the envelope is
//   more than 10 dB under its mean power (Rayleigh: 9.5 %); how much it swings inside a
//   0.6 s clip and between clips 1.1 s apart;
// - each preset: the delay from the spacing of the notches the two paths cut into white
//   noise (the period of each 21 ms frame's spectrum, i.e. the peak of its autocorrelation);
// - the Hilbert transformer's image rejection and delay;
// - the receiver's passband: -3 dB points from steady tones, and white noise's level
//   below 150 Hz and above 3300 Hz against the 300-2700 Hz band (Welch spectra);
// - the AGC's attack, hang and decay on 15 dB steps of a tone, and its output peak;
// - CPU time per second of audio (x real time) of a path and of the receiver.
//
// --quick runs a tenth as long (the spreads are then good to about 10 % instead of 3 %).
#include "engine/fading_path.h"
#include "engine/hilbert_transformer.h"
#include "engine/mixer.h"
#include "engine/receiver.h"

#include <fftw3.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <random>
#include <vector>

namespace tessaly {
namespace {

constexpr int kRate = 48000;
constexpr int kBlock = 256;  // the mixer's block
constexpr double kPi = std::numbers::pi;

double dB(double powerRatio) { return 10 * std::log10(powerRatio); }

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// ---------------------------------------------------------------- fading statistics

struct FadingFigures {
    double spreadFromSpectrum = 0;  // Hz, two sigma
    double spreadFromCrossings = 0;
    double shareUnder10dB = 0;      // of the time
    double swingInClipDb = 0;       // median of max - min inside 0.6 s
    double changeBetweenClipsDb = 0;  // median |difference| of clip means 1.1 s apart
};

// The complex envelope of a 1 kHz tone through the path, one value per millisecond
// (the mean of the tone mixed down over one period, which cancels twice the tone).
std::vector<std::complex<double>> fadedToneEnvelope(const PathPreset& preset, double seconds, std::uint64_t seed) {
    FadingPath path(kRate);
    path.setPreset(preset);
    path.reseed(seed);
    constexpr int kPeriod = kRate / 1000;
    const auto periods = static_cast<std::size_t>(seconds * 1000);
    std::vector<std::complex<double>> envelope;
    envelope.reserve(periods);
    std::vector<float> block(kBlock * 3);  // a whole number of tone periods: 768 = 16 x 48
    std::vector<std::complex<double>> mixer(block.size());
    for (std::size_t i = 0; i < block.size(); ++i) {
        const double phase = 2 * kPi * 1000.0 * static_cast<double>(i) / kRate;
        block[i] = static_cast<float>(0.5 * std::cos(phase));
        mixer[i] = std::polar(2.0 / 0.5 / kPeriod, -phase);
    }
    std::vector<float> work(block.size());
    std::complex<double> sum = 0;
    int inPeriod = 0;
    for (std::size_t done = 0; envelope.size() < periods; done += work.size()) {
        work = block;
        for (std::size_t k = 0; k < work.size(); k += kBlock) path.process(work.data() + k, kBlock);
        for (std::size_t i = 0; i < work.size(); ++i) {
            sum += static_cast<double>(work[i]) * mixer[i];
            if (++inPeriod == kPeriod) {
                if (done + i >= static_cast<std::size_t>(path.latencyFrames() + path.delayFrames() + kPeriod))
                    envelope.push_back(sum);
                sum = 0;
                inPeriod = 0;
            }
        }
    }
    envelope.resize(periods);
    return envelope;
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

FadingFigures fadingFigures(const std::vector<std::complex<double>>& g) {
    FadingFigures f;
    const double dt = 0.001;
    double power = 0;
    for (const auto& v : g) power += std::norm(v);
    power /= static_cast<double>(g.size());
    // Second moment of the spectrum about its mean frequency, from the differences.
    double slope = 0;
    std::complex<double> turn = 0;
    for (std::size_t i = 1; i < g.size(); ++i) {
        const auto d = g[i] - g[i - 1];
        slope += std::norm(d);
        turn += std::conj(g[i - 1]) * d;
    }
    slope /= static_cast<double>(g.size() - 1);
    const double meanHz = (turn / static_cast<double>(g.size() - 1)).imag() / power / (2 * kPi * dt);
    const double sigma = std::sqrt(std::max(0.0, slope / power / std::pow(2 * kPi * dt, 2) - meanHz * meanHz));
    f.spreadFromSpectrum = 2 * sigma;
    // Upward crossings of the RMS level: sqrt(pi) x spread x rho x exp(-rho^2) a second at rho = 1.
    long crossings = 0, under = 0;
    for (std::size_t i = 0; i < g.size(); ++i) {
        const double p = std::norm(g[i]);
        if (i > 0 && std::norm(g[i - 1]) < power && p >= power) ++crossings;
        if (p < 0.1 * power) ++under;
    }
    const double seconds = static_cast<double>(g.size()) * dt;
    f.spreadFromCrossings = static_cast<double>(crossings) / seconds * std::exp(1.0) / std::sqrt(kPi);
    f.shareUnder10dB = static_cast<double>(under) / static_cast<double>(g.size());
    // Clips of 0.6 s every 1.1 s: level in 10 ms steps.
    std::vector<double> swings, changes;
    double lastMean = -1;
    for (std::size_t start = 0; start + 600 <= g.size(); start += 1100) {
        double lo = 1e300, hi = 0, sum = 0;
        for (std::size_t i = start; i < start + 600; i += 10) {
            double p = 0;
            for (std::size_t k = i; k < i + 10; ++k) p += std::norm(g[k]);
            lo = std::min(lo, p);
            hi = std::max(hi, p);
            sum += p;
        }
        swings.push_back(dB(hi / std::max(lo, 1e-30)));
        if (lastMean >= 0) changes.push_back(std::fabs(dB(sum / lastMean)));
        lastMean = sum;
    }
    f.swingInClipDb = median(swings);
    f.changeBetweenClipsDb = median(changes);
    return f;
}

// ---------------------------------------------------------------- delay from the notches

// White noise through the path in frames of 1024; each frame's power spectrum ripples
// with a period of 1 / delay, so its inverse transform (the frame's autocorrelation)
// peaks at the delay. The magnitudes are averaged over frames, since the ripple's phase
// turns with the gains.
double measuredDelayMs(const PathPreset& preset, double seconds, std::uint64_t seed) {
    constexpr int kFrame = 1024, kFft = 2 * kFrame;
    FadingPath path(kRate);
    path.setPreset(preset);
    path.reseed(seed + 100);
    std::mt19937 random(5);
    std::normal_distribution<float> noise(0.0f, 0.1f);
    float* in = fftwf_alloc_real(kFft);
    fftwf_complex* spectrum = fftwf_alloc_complex(kFft / 2 + 1);
    float* correlation = fftwf_alloc_real(kFft);
    fftwf_plan forward = fftwf_plan_dft_r2c_1d(kFft, in, spectrum, FFTW_ESTIMATE);
    fftwf_plan backward = fftwf_plan_dft_c2r_1d(kFft, spectrum, correlation, FFTW_ESTIMATE);
    std::vector<double> average(kFrame, 0.0);
    std::vector<float> frame(kFrame);
    const long frames = static_cast<long>(seconds * kRate / kFrame);
    for (long n = 0; n < frames; ++n) {
        for (float& s : frame) s = noise(random);
        path.process(frame.data(), kFrame);
        if (n < 4) continue;  // the filters filling
        std::fill_n(in, kFft, 0.0f);
        std::copy(frame.begin(), frame.end(), in);
        fftwf_execute(forward);
        for (int k = 0; k <= kFft / 2; ++k) {
            spectrum[k][0] = spectrum[k][0] * spectrum[k][0] + spectrum[k][1] * spectrum[k][1];
            spectrum[k][1] = 0;
        }
        fftwf_execute(backward);
        for (int lag = 0; lag < kFrame; ++lag) average[static_cast<std::size_t>(lag)] += std::fabs(correlation[lag]) / correlation[0];
    }
    // The peak beyond the first few lags (the noise's own correlation is at 0).
    int best = 3;
    for (int lag = 3; lag < kFrame / 2; ++lag) {
        if (average[static_cast<std::size_t>(lag)] > average[static_cast<std::size_t>(best)]) best = lag;
    }
    // Parabolic interpolation between the neighbouring lags.
    const double a = average[static_cast<std::size_t>(best - 1)], b = average[static_cast<std::size_t>(best)],
                 c = average[static_cast<std::size_t>(best + 1)];
    const double offset = (a - c) / (2 * (a - 2 * b + c));
    fftwf_destroy_plan(forward);
    fftwf_destroy_plan(backward);
    fftwf_free(in);
    fftwf_free(spectrum);
    fftwf_free(correlation);
    return (best + (std::isfinite(offset) ? offset : 0.0)) * 1000.0 / kRate;
}

void reportPresets(double scale) {
    std::printf("Path presets: a steady 1 kHz tone (spread, envelope) and white noise (delay), 48000 Hz\n\n");
    std::printf("| preset | delay ms | measured delay ms | notch spacing Hz (1/delay) | spread Hz | from spectrum | from "
                "crossings | > 10 dB under mean | swing in 0.6 s clip dB | change clip to clip dB | audio s |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|\n");
    std::uint64_t seed = 0;
    for (const PathPreset& p : pathPresets()) {
        if (p.dopplerSpreadHz <= 0) continue;
        ++seed;  // each preset its own fading
        // About 300 / spread seconds: some 600 independent fades, a few per cent of error.
        const double seconds = std::clamp(300.0 / p.dopplerSpreadHz, 120.0, 3000.0) * scale;
        const FadingFigures f = fadingFigures(fadedToneEnvelope(p, seconds, seed));
        const double delay = measuredDelayMs(p, 60 * scale, seed);
        std::printf("| %s | %.1f | %.3f | %.0f (%.0f) | %.1f | %.3f | %.3f | %.1f %% | %.1f | %.1f | %.0f |\n", p.name,
                    p.delayMs, delay, 1000 / delay, 1000 / p.delayMs, p.dopplerSpreadHz, f.spreadFromSpectrum,
                    f.spreadFromCrossings, 100 * f.shareUnder10dB, f.swingInClipDb, f.changeBetweenClipsDb, seconds);
        std::fflush(stdout);
    }
    std::printf("\nRayleigh fading: %.1f %% of the time more than 10 dB under the mean power.\n\n",
                100 * (1 - std::exp(-0.1)));
}

// ---------------------------------------------------------------- Hilbert transformer

void reportHilbert() {
    HilbertTransformer hilbert(kRate);
    std::printf("Hilbert transformer: %d taps, delay %d frames (%.2f ms)\n\n", 2 * hilbert.delay() + 1, hilbert.delay(),
                hilbert.delay() * 1000.0 / kRate);
    std::printf("| tone Hz | image (negative frequency) dB |\n|---|---|\n");
    for (double hz : {50.0, 80.0, 100.0, 120.0, 150.0, 200.0, 300.0, 1000.0, 3000.0, 10000.0, 23880.0}) {
        hilbert.reset();
        const int n = kRate;  // one second
        std::vector<float> in(static_cast<std::size_t>(n)), re(in.size()), im(in.size());
        for (int i = 0; i < n; ++i) in[static_cast<std::size_t>(i)] = static_cast<float>(std::cos(2 * kPi * hz * i / kRate));
        for (int i = 0; i < n; i += HilbertTransformer::kMaxFrames)
            hilbert.process(in.data() + i, re.data() + i, im.data() + i, std::min(HilbertTransformer::kMaxFrames, n - i));
        std::complex<double> positive = 0, negative = 0;
        const int from = 2 * hilbert.delay();
        for (int i = from; i < n; ++i) {
            const std::complex<double> z(re[static_cast<std::size_t>(i)], im[static_cast<std::size_t>(i)]);
            const double phase = 2 * kPi * hz * i / kRate;
            positive += z * std::polar(1.0, -phase);
            negative += z * std::polar(1.0, phase);
        }
        std::printf("| %.0f | %.1f |\n", hz, 2 * dB(std::abs(negative) / std::abs(positive)));
    }
    std::printf("\n");
}

// ---------------------------------------------------------------- receiver passband

double passbandGainDb(double hz) {
    Receiver receiver(kRate);
    receiver.setPassband(true);
    const int n = kRate;  // 1 s: the lowest edge's ringing has died away after 0.5 s
    std::vector<float> x(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) x[static_cast<std::size_t>(i)] = static_cast<float>(0.1 * std::sin(2 * kPi * hz * i / kRate));
    receiver.process(x.data(), n);
    double c = 0, s = 0;
    for (int i = n / 2; i < n; ++i) {
        const double phase = 2 * kPi * hz * i / kRate;
        c += x[static_cast<std::size_t>(i)] * std::cos(phase);
        s += x[static_cast<std::size_t>(i)] * std::sin(phase);
    }
    return 2 * dB(2 * std::hypot(c, s) / (n / 2) / 0.1);
}

// The frequency between lo and hi (on either side of the edge) where the gain is 3 dB
// under the passband's maximum.
double minus3Point(double lo, double hi, double peakDb) {
    const bool rising = passbandGainDb(lo) < passbandGainDb(hi);
    for (int i = 0; i < 30; ++i) {
        const double mid = 0.5 * (lo + hi);
        const bool above = passbandGainDb(mid) > peakDb - 3;
        if (above == rising) hi = mid;
        else lo = mid;
    }
    return 0.5 * (lo + hi);
}

void reportPassband(double scale) {
    double peak = -100;
    for (double hz = 400; hz <= 2500; hz += 25) peak = std::max(peak, passbandGainDb(hz));
    double trough = 0;
    for (double hz = 400; hz <= 2500; hz += 25) trough = std::min(trough, passbandGainDb(hz));
    std::printf("Receiver passband (steady tones): maximum %.2f dB, ripple %.2f dB over 400-2500 Hz\n", peak, peak - trough);
    std::printf("  -3 dB points: %.1f Hz and %.1f Hz\n", minus3Point(150, 600, peak), minus3Point(2000, 3300, peak));
    std::printf("  gain at 150 Hz: %.1f dB, at 3300 Hz: %.1f dB, at 100 Hz: %.1f dB, at 4000 Hz: %.1f dB\n\n",
                passbandGainDb(150) - peak, passbandGainDb(3300) - peak, passbandGainDb(100) - peak,
                passbandGainDb(4000) - peak);

    // White noise: Welch spectra of input and output, frames of 8192 (5.9 Hz), Hann, half overlap.
    constexpr int kFft = 8192;
    Receiver receiver(kRate);
    receiver.setPassband(true);
    std::mt19937 random(3);
    std::normal_distribution<float> noise(0.0f, 0.1f);
    const auto n = static_cast<std::size_t>(60 * scale * kRate);
    std::vector<float> x(n), y(n);
    for (float& s : x) s = noise(random);
    y = x;
    for (std::size_t i = 0; i < n; i += kBlock) receiver.process(y.data() + i, static_cast<int>(std::min<std::size_t>(kBlock, n - i)));
    const int latency = receiver.latencyFrames();
    float* in = fftwf_alloc_real(kFft);
    fftwf_complex* out = fftwf_alloc_complex(kFft / 2 + 1);
    fftwf_plan plan = fftwf_plan_dft_r2c_1d(kFft, in, out, FFTW_ESTIMATE);
    std::vector<double> pin(kFft / 2 + 1, 0.0), pout(kFft / 2 + 1, 0.0);
    auto accumulate = [&](const float* s, std::vector<double>& p) {
        for (int i = 0; i < kFft; ++i) in[i] = s[i] * static_cast<float>(0.5 - 0.5 * std::cos(2 * kPi * i / kFft));
        fftwf_execute(plan);
        for (int k = 0; k <= kFft / 2; ++k) p[static_cast<std::size_t>(k)] += out[k][0] * out[k][0] + out[k][1] * out[k][1];
    };
    for (std::size_t start = kRate; start + kFft + static_cast<std::size_t>(latency) <= n; start += kFft / 2) {
        accumulate(x.data() + start, pin);
        accumulate(y.data() + start + static_cast<std::size_t>(latency), pout);
    }
    fftwf_destroy_plan(plan);
    fftwf_free(in);
    fftwf_free(out);
    const double binHz = static_cast<double>(kRate) / kFft;
    auto bandMean = [&](double lo, double hi) {  // mean power gain over the band
        double sum = 0;
        int count = 0;
        for (std::size_t k = 0; k < pin.size(); ++k) {
            const double f = static_cast<double>(k) * binHz;
            if (f >= lo && f <= hi && pin[k] > 0) {
                sum += pout[k] / pin[k];
                ++count;
            }
        }
        return sum / count;
    };
    auto bandWorst = [&](double lo, double hi) {
        double worst = 0;
        for (std::size_t k = 1; k < pin.size(); ++k) {
            const double f = static_cast<double>(k) * binHz;
            if (f >= lo && f <= hi) worst = std::max(worst, pout[k] / pin[k]);
        }
        return worst;
    };
    auto bandPower = [&](const std::vector<double>& p, double lo, double hi) {
        double sum = 0;
        for (std::size_t k = 0; k < p.size(); ++k) {
            const double f = static_cast<double>(k) * binHz;
            if (f >= lo && f <= hi) sum += p[k];
        }
        return sum;
    };
    const double band = bandMean(300, 2700);
    // Walking from `from` towards `to`, where the gain first falls 3 dB under the band's
    // mean, interpolated in dB between the two bins either side.
    auto edge = [&](double from, double to) {
        const long step = from < to ? 1 : -1;
        auto gainDb = [&](long k) { return dB(pout[static_cast<std::size_t>(k)] / pin[static_cast<std::size_t>(k)] / band); };
        const long last = std::lround(to / binHz);
        for (long k = std::lround(from / binHz); k != last && k + step > 0; k += step) {
            if (gainDb(k + step) < -3) {
                const double share = (gainDb(k) + 3) / (gainDb(k) - gainDb(k + step));
                return (static_cast<double>(k) + share * static_cast<double>(step)) * binHz;
            }
        }
        return to;
    };
    std::printf("Receiver passband (60 s of white noise, Welch spectra of 8192 frames):\n");
    std::printf("  -3 dB points (under the band's mean): %.0f Hz and %.0f Hz (bins of %.1f Hz)\n", edge(1000, 0),
                edge(1000, 5000), binHz);
    std::printf("  noise density under 150 Hz: mean %.1f dB, highest bin %.1f dB against 300-2700 Hz\n",
                dB(bandMean(binHz, 150) / band), dB(bandWorst(binHz, 150) / band));
    std::printf("  noise density above 3300 Hz: mean %.1f dB, highest bin %.1f dB against 300-2700 Hz\n",
                dB(bandMean(3300, 24000) / band), dB(bandWorst(3300, 24000) / band));
    std::printf("  noise power 0-150 Hz: %.1f dB, 3300-24000 Hz: %.1f dB, against the power in 300-2700 Hz\n\n",
                dB(bandPower(pout, 0, 150) / bandPower(pout, 300, 2700)),
                dB(bandPower(pout, 3300, 24000) / bandPower(pout, 300, 2700)));
}

// ---------------------------------------------------------------- AGC

const char* speedName(AgcSpeed s) {
    switch (s) {
    case AgcSpeed::Fast: return "fast";
    case AgcSpeed::Medium: return "medium";
    case AgcSpeed::Slow: return "slow";
    case AgcSpeed::Off: break;
    }
    return "off";
}

void reportAgc() {
    const double ref = Agc::referenceAmplitude();
    std::printf("AGC: reference %.1f dBFS at the output (%.2f in the mix before the %.0f dB headroom), ceiling %.1f "
                "dBFS, at most +%.0f dB, look-ahead %.0f ms\n\n",
                Agc::kReferenceOutputDb, ref, kOutputHeadroomDb, Agc::kCeilingOutputDb, Agc::kMaxGainDb, Agc::kLookAheadMs);
    std::printf("A 1 kHz tone steps up by 15 dB to the reference, holds 2 s, and steps back down.\n\n");
    std::printf("| speed | attack: 63 %% of the change, ms | output peak after the step, dB over the reference | hang, ms "
                "| decay, dB/s | decay time constant, ms | 15 dB recovered after, ms |\n|---|---|---|---|---|---|---|\n");
    for (AgcSpeed speed : {AgcSpeed::Fast, AgcSpeed::Medium, AgcSpeed::Slow}) {
        Receiver receiver(kRate);
        receiver.setAgc(speed);
        const double low = ref * std::pow(10.0, -15 / 20.0);
        const int stepUp = 3 * kRate, stepDown = 5 * kRate, end = 8 * kRate;
        std::vector<double> gain(static_cast<std::size_t>(end));
        double peakAfter = 0;
        for (int i = 0; i < end; ++i) {
            const double a = (i >= stepUp && i < stepDown) ? ref : low;
            float s = static_cast<float>(a * std::sin(2 * kPi * 1000.0 * i / kRate));
            receiver.process(&s, 1);
            gain[static_cast<std::size_t>(i)] = receiver.gainDb();
            // Output frames of the loud part: it is heard latencyFrames() after it was fed.
            if (i >= stepUp + receiver.latencyFrames() && i < stepUp + receiver.latencyFrames() + kRate / 2)
                peakAfter = std::max(peakAfter, static_cast<double>(std::fabs(s)));
        }
        const double before = gain[static_cast<std::size_t>(stepUp - 1)], after = gain[static_cast<std::size_t>(stepDown - 1)];
        int attack = stepUp;
        while (gain[static_cast<std::size_t>(attack)] > before + 0.632 * (after - before)) ++attack;
        // Hang: until the gain has risen 0.1 dB; decay: the slope between 3 and 12 dB of recovery.
        auto firstAbove = [&](double db) {
            int i = stepDown;
            while (i < end - 1 && gain[static_cast<std::size_t>(i)] < after + db) ++i;
            return i;
        };
        const int hang = firstAbove(0.1), at3 = firstAbove(3), at12 = firstAbove(12), at15 = firstAbove(14.9);
        const double rate = 9.0 / ((at12 - at3) / static_cast<double>(kRate));
        std::printf("| %s | %.2f | %+.2f | %.0f | %.0f | %.0f | %.0f |\n", speedName(speed),
                    (attack - stepUp) * 1000.0 / kRate, 2 * dB(peakAfter / ref), (hang - stepDown) * 1000.0 / kRate,
                    rate, 20 / std::log(10.0) / rate * 1000, (at15 - stepDown) * 1000.0 / kRate);
    }

    // Bursts of noise 30 dB louder than the reference, out of silence: the ceiling holds.
    Receiver receiver(kRate);
    receiver.setPassband(true);
    receiver.setAgc(AgcSpeed::Slow);
    std::mt19937 random(9);
    std::normal_distribution<float> noise(0.0f, static_cast<float>(ref * 10));
    double peak = 0;
    std::vector<float> block(kBlock);
    for (int b = 0; b < 20 * kRate / kBlock; ++b) {
        const bool loud = (b / 40) % 3 == 0;
        for (float& s : block) s = loud ? noise(random) : 0.0f;
        receiver.process(block.data(), kBlock);
        for (float s : block) peak = std::max(peak, static_cast<double>(std::fabs(s)));
    }
    std::printf("\nNoise bursts 30 dB over the reference out of silence: output peak %.1f dBFS at the output "
                "(ceiling %.1f, clipping 0)\n\n",
                2 * dB(peak) + kOutputHeadroomDb, Agc::kCeilingOutputDb);
}

// ---------------------------------------------------------------- CPU

template <typename Process>
double realTimeFactor(Process&& process, double seconds) {
    std::mt19937 random(1);
    std::normal_distribution<float> noise(0.0f, 0.1f);
    std::vector<float> source(kRate);
    for (float& s : source) s = noise(random);
    std::vector<float> block(kBlock);
    const long blocks = static_cast<long>(seconds * kRate / kBlock);
    const double start = cpuSeconds();
    for (long b = 0; b < blocks; ++b) {
        const auto offset = static_cast<std::size_t>((b * kBlock) % (kRate - kBlock));
        std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(offset), kBlock, block.begin());
        process(block.data(), kBlock);
    }
    const double used = cpuSeconds() - start;
    return static_cast<double>(blocks) * kBlock / kRate / used;
}

void reportCpu(double scale) {
    std::printf("CPU, one thread, blocks of %d frames at %d Hz (x real time = seconds of audio per CPU second)\n\n",
                kBlock, kRate);
    std::printf("| block | x real time | share of one core |\n|---|---|---|\n");
    const double seconds = 120 * scale;
    for (const char* name : {"good", "flutter", "high-disturbed"}) {
        FadingPath path(kRate);
        path.setPreset(*findPathPreset(name));
        path.reseed(3);
        const double x = realTimeFactor([&](float* s, int n) { path.process(s, n); }, seconds);
        std::printf("| path %s | %.0f | %.2f %% |\n", name, x, 100 / x);
    }
    struct Setting {
        const char* name;
        bool passband;
        AgcSpeed agc;
    };
    for (const Setting& s : {Setting{"receiver: passband", true, AgcSpeed::Off}, Setting{"receiver: AGC", false, AgcSpeed::Fast},
                             Setting{"receiver: passband + AGC", true, AgcSpeed::Fast}}) {
        Receiver receiver(kRate);
        receiver.setPassband(s.passband);
        receiver.setAgc(s.agc);
        const double x = realTimeFactor([&](float* b, int n) { receiver.process(b, n); }, seconds);
        std::printf("| %s | %.0f | %.2f %% |\n", s.name, x, 100 / x);
    }
    {
        FadingPath reader(kRate), interferer(kRate);
        reader.setPreset(*findPathPreset("poor"));
        interferer.setPreset(*findPathPreset("poor"));
        reader.reseed(1);
        interferer.reseed(2);
        Receiver receiver(kRate);
        receiver.setPassband(true);
        receiver.setAgc(AgcSpeed::Medium);
        std::vector<float> other(kBlock);
        const double x = realTimeFactor(
            [&](float* b, int n) {
                std::copy_n(b, n, other.begin());
                reader.process(b, n);
                interferer.process(other.data(), n);
                for (int i = 0; i < n; ++i) b[i] += other[static_cast<std::size_t>(i)];
                receiver.process(b, n);
            },
            seconds);
        std::printf("| two paths + passband + AGC (the whole stage) | %.0f | %.2f %% |\n", x, 100 / x);
    }
    std::printf("\n");
}

}  // namespace
}  // namespace tessaly

int main(int argc, char** argv) {
    double scale = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            scale = 0.1;
        } else {
            std::fprintf(stderr, "usage: %s [--quick]\n", argv[0]);
            return 2;
        }
    }
    tessaly::reportHilbert();
    tessaly::reportPassband(scale);
    tessaly::reportAgc();
    tessaly::reportCpu(scale);
    tessaly::reportPresets(scale);
    return 0;
}
