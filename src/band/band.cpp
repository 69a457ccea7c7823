// The band noise and its level, the static crackle, the SNR, each station's path and
// the receiver.
#include "band/band.h"

#include "band/noise_levels.h"
#include "practice/reading_pace.h"
#include "sound/clip_catalogue.h"
#include "sound/voice_tone.h"

#include <cmath>
#include <cstdlib>

namespace tessaly {
namespace {

int toHundredths(double db) { return static_cast<int>(std::lround(db * 100.0)); }

// A fade sinks 0.2 dB a step to 9 .. 26 dB down; one scheduler tick in ten starts one.
constexpr ExcursionRule kFadeRule{0, 20, 10, 3, 91, 50, 1701, -2600};
// A noise dip sinks 0.1 dB a step to 5 .. 46 dB down; one tick in three starts one.
constexpr ExcursionRule kNoiseDipRule{0, 10, 3, 1, 91, 50, 4101, -4600};

}  // namespace

Band::Band(WindowControls& controls, SoundPlatform& platform, TimerClock& clock, RandomSource& random)
    : controls_(controls), device_(platform), random_(random), fade_(kFadeRule, Timer4, Timer5, random),
      noiseDip_(kNoiseDipRule, Timer6, Timer7, random) {
    Timer4.attach(&clock, [this] { Timer4_Timer(); });
    Timer5.attach(&clock, [this] { Timer5_Timer(); });
    Timer6.attach(&clock, [this] { Timer6_Timer(); });
    Timer7.attach(&clock, [this] { Timer7_Timer(); });
}

void Band::load() {
    if (SoundDevice* device = device_.reopen()) {
        noiseBuffer_ = device->createBuffer(Bus::BandNoise, "zaoyin", kFlagsWithTone);
        qrnBuffer_ = device->createBuffer(Bus::Static, "qrn", kFlagsWithTone);
    }
    if (noiseBuffer_) {
        noiseBuffer_->setVolume(kVolumeSilent);
        noiseBuffer_->setFrequency(kBandNoiseFrequency);
    }
}

int Band::noiseVolume() const {
    // The random variation's dips, while they run, are the noise's level.
    if (controls_.Check4.value == 1 && !trials_) return noiseDip_.value();
    // An SNR sets the level in the received channel: the buffer plays at full volume.
    if (snr_ || callsignSnr_ || trials_) return kVolumeFull;
    return kNoiseLevelVolumes[controls_.noiseLevel()];
}

void Band::setNoiseVolume(int volume) {
    if (noiseBuffer_) noiseBuffer_->setVolume(volume);
}

int Band::drawTimerInterval() {
    random_.reseedFromClock();
    return random_.draw(91, 50);
}

void Band::startNoise(const Speech& voice) {
    // Without a sound device the noise loops do not exist: the practice runs silently.
    if (noiseBuffer_) noiseBuffer_->play(true);
    if (!trials_) callsignSnr_ = snr_;
    // The variation's dips, when ticked, take the level from their first step on.
    if (callsignSnr_ && (controls_.Check4.value != 1 || trials_)) setNoiseVolume(noiseVolume());
    applySnr(voice);
}

void Band::startPaths(int callers) {
    callers_ = callers;
    applyPath();
}

void Band::endCallerPaths() {
    callers_ = 0;
    if (pathedCallers_ == 0) return;
    if (ReceivedChannel* channel = device_.channel())
        for (int i = 0; i < pathedCallers_; ++i) channel->setPath(callerBus(i), "off", 0);
    pathedCallers_ = 0;
}

void Band::startConditions() {
    if (controls_.Check1.ticked() && qrnBuffer_) qrnBuffer_->play(true);
    if (controls_.Check3.ticked()) fade_.start(drawTimerInterval());
    if (controls_.Check4.ticked() && !trials_) noiseDip_.start(drawTimerInterval());  // trials set the noise alone
}

void Band::stopLoops() {
    for (auto* buffer : {&noiseBuffer_, &qrnBuffer_})
        if (*buffer) (*buffer)->stop();
}

void Band::stopTimers() {
    for (Timer* t : {&Timer4, &Timer5, &Timer6, &Timer7}) t->setEnabled(false);
}

void Band::keepNoiseLevel() {
    if (controls_.Check4.value != 1 || trials_) setNoiseVolume(noiseVolume());
}

void Band::release() {
    if (qrnBuffer_ && qrnBuffer_->getStatus() == kStatusPlaying) qrnBuffer_->stop();
    qrnBuffer_.reset();
    device_.release();
}

void Band::levelChosen(int level) {
    // The button's own level, at once, practising or not; nothing is played or stopped.
    setNoiseVolume(kNoiseLevelVolumes[level]);
}

void Band::Check1_Click(bool practising) {
    if (!practising || !qrnBuffer_) return;
    if (controls_.Check1.value == 1) qrnBuffer_->play(true);
    else if (controls_.Check1.value == 0) qrnBuffer_->stop();
}

void Band::enableLevelButtons() {
    const bool enabled = controls_.Check4.value != 1 && !snr_ && !trials_;
    for (OptionButton* o : controls_.noiseButtons()) o->enabled = enabled;
}

void Band::setSnr(std::optional<double> snrDb, bool practising, const Speech& voice) {
    snr_ = snrDb;
    enableLevelButtons();
    if (!practising) {
        // Back to the level buttons between practices: the selected one applies at once.
        if (!snr_ && controls_.Check4.value != 1) setNoiseVolume(noiseVolume());
        return;
    }
    if (!trials_) callsignSnr_ = snr_;
    applySnr(voice);
}

void Band::beginTrials(double snrDb) {
    trials_ = true;
    callsignSnr_ = snrDb;
    enableLevelButtons();
    controls_.Check4.enabled = false;
}

void Band::endTrials() {
    trials_ = false;
    callsignSnr_ = snr_;
    enableLevelButtons();
    controls_.Check4.enabled = true;
}

void Band::callsignBegins(const Speech& voice) {
    if (callsignSnr_) applySnr(voice);
}

void Band::applySnr(const Speech& voice) {
    ReceivedChannel* channel = device_.channel();
    if (!channel) return;
    if (!callsignSnr_) {
        if (appliedSnr_) channel->clearSnr();
        appliedSnr_.reset();
        return;
    }
    if (channel->setSnr(toHundredths(*callsignSnr_), snrReference(voice))) appliedSnr_ = callsignSnr_;
}

std::optional<int> Band::levelNear(double snrDb, const Speech& voice) const {
    ReceivedChannel* channel = device_.channel();
    const auto volume = channel ? channel->noiseVolumeFor(toHundredths(snrDb), snrReference(voice)) : std::nullopt;
    if (!volume) return std::nullopt;
    // Past the loudest level by more than half its step to the next, or past the
    // quietest by more than a step: beyond the buttons (6 or 0).
    if (*volume > kNoiseLevelVolumes[5] + 250) return 6;
    if (*volume < kNoiseLevelVolumes[1] - 1000) return 0;
    int nearest = 1;
    for (int level = 1; level <= 5; ++level)
        if (std::abs(kNoiseLevelVolumes[level] - *volume) < std::abs(kNoiseLevelVolumes[nearest] - *volume)) nearest = level;
    return nearest;
}

SnrReference Band::snrReference(const Speech& voice) const {
    SnrReference reference;
    reference.clips = voiceClipShares(voice);
    reference.clipFrequency = kClipFrequency;
    reference.tone = toneBoost(controls_.Slider2.value);
    reference.intervalMs = readerIntervalMs(controls_.Slider1.value);
    reference.noise = "zaoyin";
    reference.noiseFrequency = kBandNoiseFrequency;
    return reference;
}

void Band::setPath(const std::string& preset, bool practising) {
    path_ = preset;
    if (practising) applyPath();
}

void Band::applyPath() {
    ReceivedChannel* channel = device_.channel();
    if (!channel || (path_ == "off" && appliedPath_ == "off" && pathedCallers_ == 0)) return;
    // Each station fades on its own, from the practice's random source: a seeded run
    // repeats exactly.
    auto seed = [this] {
        random_.reseedFromClock();
        return static_cast<std::uint64_t>(random_.uniform() * 9007199254740992.0);  // 2^53
    };
    const std::uint64_t reader = path_ == "off" ? 0 : seed();
    const std::uint64_t interferer = path_ == "off" ? 0 : seed();
    channel->setPath(Bus::Reader, path_, reader);
    channel->setPath(Bus::Interferer, path_, interferer);
    for (int i = 0; i < callers_; ++i) channel->setPath(callerBus(i), path_, path_ == "off" ? 0 : seed());
    // Stations of an earlier, larger pile-up keep no path of their own.
    for (int i = callers_; i < pathedCallers_; ++i) channel->setPath(callerBus(i), "off", 0);
    pathedCallers_ = path_ == "off" ? 0 : callers_;
    appliedPath_ = path_;
}

void Band::setReceiver(bool passband, const std::string& agc) {
    passband_ = passband;
    agc_ = agc;
    if (ReceivedChannel* channel = device_.channel()) channel->setReceiver(passband_, agc_);
}

}  // namespace tessaly
