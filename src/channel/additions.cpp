// Additions to the band conditions, all acting on the received channel: the band
// noise at a signal-to-noise ratio instead of a level, an ionospheric path for each
// station, the receiver's passband and AGC. Unused, none of them says anything to
// the sound platform or draws a random number.
#include "channel/channel_conditions.h"
#include "channel/noise_levels.h"
#include "practice/reading_pace.h"

#include <cmath>
#include <cstdlib>

namespace tessaly {
namespace {

// The clips a callsign is spoken with, and their shares: letters make about 78 % of
// a callsign's characters, digits the rest.
constexpr double kLetterShare = 0.78;

int toHundredths(double db) { return static_cast<int>(std::lround(db * 100.0)); }

}  // namespace

void ChannelConditions::startAdditions() {
    if (!f.thresholdRunning) f.callsignSnrDb = f.additions.snrDb;
    if (f.callsignSnrDb && (f.Check4.value != 1 || f.thresholdRunning) && f.noiseBuffer)
        f.noiseBuffer->setVolume(kVolumeFull);
    applySnr();
    applyPath();
}

void ChannelConditions::callsignBegins() {
    if (f.callsignSnrDb) applySnr();
}

void ChannelConditions::snrChanged() {
    enableLevelButtons();
    if (!f.practising) {
        // Back to the level buttons between practices: the selected one applies at once.
        if (!f.additions.snrDb && f.noiseBuffer && f.Check4.value != 1) f.noiseBuffer->setVolume(selectedNoiseLevel());
        return;
    }
    if (!f.thresholdRunning) f.callsignSnrDb = f.additions.snrDb;
    applySnr();
}

void ChannelConditions::enableLevelButtons() {
    const bool enabled = f.Check4.value != 1 && !f.additions.snrDb && !f.thresholdRunning;
    for (OptionButton* o : {&f.Option1, &f.Option2, &f.Option3, &f.Option4, &f.Option5, &f.Option6}) o->enabled = enabled;
}

void ChannelConditions::applySnr() {
    ReceivedChannel* channel = received();
    if (!channel) return;
    if (!f.callsignSnrDb) {
        if (appliedSnr_) channel->setNoiseLevel(0);
        appliedSnr_.reset();
        return;
    }
    if (channel->setSnr(toHundredths(*f.callsignSnrDb), snrReference())) appliedSnr_ = f.callsignSnrDb;
}

std::optional<int> ChannelConditions::levelNear(double snrDb) {
    ReceivedChannel* channel = received();
    const auto volume = channel ? channel->noiseVolumeFor(toHundredths(snrDb), snrReference()) : std::nullopt;
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

SnrReference ChannelConditions::snrReference() const {
    SnrReference reference;
    const int letterSets[5][3] = {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {0, 1, 2}, {3, 3, 3}};  // by word-set button
    const OptionButton* words = nullptr;
    int member = 4;
    for (int i = 0; i < 5; ++i)
        if (f.Option7[i].value && !words) words = &f.Option7[member = i];
    const int digitSet = member == 4 ? 1 : 0;
    // Mixed reading takes each letter from one of three sets: a third of the share each.
    const int setsUsed = member == 3 ? 3 : 1;
    for (int k = 0; k < setsUsed; ++k) {
        for (int letter = 1; letter <= 26; ++letter) {
            char name[8];
            std::snprintf(name, sizeof name, "%d%02d", letterSets[member][k], letter);
            reference.clips.emplace_back(name, kLetterShare / 26.0 / setsUsed);
        }
    }
    for (int digit = 0; digit <= 9; ++digit)
        reference.clips.emplace_back(std::to_string(digitSet) + std::to_string(digit), (1.0 - kLetterShare) / 10.0);
    reference.clipFrequency = kClipFrequency;
    reference.tone = toneBoost(f.Slider2.value);
    reference.intervalMs = readerIntervalMs(f.Slider1.value);
    reference.noise = "zaoyin";
    reference.noiseFrequency = kBandNoiseFrequency;
    return reference;
}

void ChannelConditions::pathChanged() {
    if (f.practising) applyPath();
}

void ChannelConditions::applyPath() {
    ReceivedChannel* channel = received();
    if (!channel || (f.additions.path == "off" && appliedPath_ == "off")) return;
    // Each station fades on its own, from the practice's random source: a seeded run
    // repeats exactly.
    auto seed = [this] {
        f.random().reseedFromClock();
        return static_cast<std::uint64_t>(f.random().uniform() * 9007199254740992.0);  // 2^53
    };
    const std::uint64_t reader = f.additions.path == "off" ? 0 : seed();
    const std::uint64_t interferer = f.additions.path == "off" ? 0 : seed();
    channel->setPath(Station::Reader, f.additions.path, reader);
    channel->setPath(Station::Interferer, f.additions.path, interferer);
    appliedPath_ = f.additions.path;
}

void ChannelConditions::receiverChanged() {
    if (ReceivedChannel* channel = received()) channel->setReceiver(f.additions.passband, f.additions.agc);
}

}  // namespace tessaly
