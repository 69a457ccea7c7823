// Random variation of noise, speed and tone, and the supervisory timer that keeps
// the manual settings applied for whatever is not being varied.
#include "channel/channel_conditions.h"
#include "channel/noise_levels.h"
#include "practice/reading_pace.h"

#include <algorithm>

namespace tessaly {
void ChannelConditions::Check4_Click() {
    const bool ticked = f.Check4.value == 1;
    enableLevelButtons();
    if (ticked) {
        if (f.practising) startNoiseDips();
    } else {
        noiseDip_.stop();
        // Silent at once; while practising the supervisory timer restores the level.
        if (f.noiseBuffer) f.noiseBuffer->setVolume(kVolumeSilent);
    }
}

void ChannelConditions::Timer6_Timer() { noiseDip_.schedulerTick(); }

void ChannelConditions::Timer7_Timer() {
    noiseDip_.rampTick();
    f.noiseDipLevel = std::clamp(f.noiseDipLevel, kVolumeSilent, 0);
    if (f.noiseBuffer) f.noiseBuffer->setVolume(f.noiseDipLevel);
}

void ChannelConditions::Check5_Click() {
    if (f.Check5.value == 1) {
        f.Slider1.enabled = false;
        startSpeedChanges();
    } else {
        f.Slider1.enabled = true;
        f.Timer8.setEnabled(false);
        f.restartReaderInterval();
    }
}

void ChannelConditions::Timer8_Timer() {
    f.random().reseedFromClock();
    const int speed = f.random().draw(10, 1);  // 1..10: never the fastest manual speed
    f.Timer2.setInterval(readerIntervalMs(speed));
}

void ChannelConditions::Check6_Click() {
    if (f.Check6.value == 1) {
        f.Slider2.enabled = false;
        if (f.practising) startToneSweeps(200);
    } else {
        f.Slider2.enabled = true;
        if (f.practising) {
            toneSweep_.stop();
            speech_.SetTone();
        }
    }
}

void ChannelConditions::Timer9_Timer() { toneSweep_.schedulerTick(); }

void ChannelConditions::Timer10_Timer() {
    toneSweep_.rampTick();
    f.Text3.setText(std::to_string(f.toneCentre));
    f.toneCentre = std::min<std::int16_t>(f.toneCentre, kSweepTopHz);
    if (f.paramEq) f.paramEq->setAllParameters(toneBoost(f.toneCentre));
}

void ChannelConditions::Timer11_Timer() {
    if (!f.practising) return;
    // A threshold run holds the noise variation back: the level is the run's.
    if ((f.Check4.value != 1 || f.thresholdRunning) && f.noiseBuffer) f.noiseBuffer->setVolume(selectedNoiseLevel());
    if (f.clipBuffer && f.Check3.value != 1) f.clipBuffer->setVolume(0);
    if (!f.waitingForAnswer && f.Check5.value != 1) f.restartReaderInterval();
}

}  // namespace tessaly
