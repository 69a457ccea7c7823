// Random variation of noise, speed and tone, and the supervisory timer that keeps
// the manual settings applied for whatever is not being varied.
#include "channel/channel_conditions.h"
#include "channel/noise_levels.h"
#include "practice/reading_pace.h"

#include <algorithm>

namespace tessaly {
namespace {
constexpr int kSweepTopHz = 800;  // tone sweeps start and end here
}

void ChannelConditions::Check4_Click() {
    const bool ticked = f.Check4.value == 1;
    for (OptionButton* o : {&f.Option1, &f.Option2, &f.Option3, &f.Option4, &f.Option5, &f.Option6}) o->enabled = !ticked;
    if (ticked) {
        if (f.practising) {
            f.Timer6.setInterval(f.drawTimerInterval());
            f.Timer6.setEnabled(true);
        }
    } else {
        f.Timer6.setEnabled(false);
        f.Timer7.setEnabled(false);
        // Silent at once; while practising the supervisory timer restores the level.
        if (f.noiseBuffer) f.noiseBuffer->setVolume(kVolumeSilent);
    }
}

void ChannelConditions::Timer6_Timer() {
    f.noiseDipLevel = 0;
    f.noiseDipDown = true;
    f.random().reseedFromClock();
    if (f.random().draw(3, 0) != 1) return;  // a dip starts on one tick in three
    f.Timer7.setInterval(f.drawTimerInterval());
    f.Timer7.setEnabled(true);
    f.random().reseedFromClock();
    f.noiseDipFloor = static_cast<float>(f.random().draw(4101, -4600));
    f.Timer6.setEnabled(false);
}

void ChannelConditions::Timer7_Timer() {
    if (f.noiseDipDown && f.noiseDipLevel > f.noiseDipFloor && f.noiseDipLevel <= 0) {
        f.noiseDipLevel -= 10;
    } else if (f.noiseDipLevel <= -10) {
        f.noiseDipDown = false;
        f.noiseDipLevel += 10;
    } else if (!f.noiseDipDown && f.noiseDipLevel == 0) {
        f.noiseDipDown = true;
        f.Timer6.setEnabled(true);
        f.Timer7.setEnabled(false);
    }
    f.noiseDipLevel = std::clamp(f.noiseDipLevel, kVolumeSilent, 0);
    if (f.noiseBuffer) f.noiseBuffer->setVolume(f.noiseDipLevel);
}

void ChannelConditions::Check5_Click() {
    if (f.Check5.value == 1) {
        f.Slider1.enabled = false;
        f.Timer8.setInterval(2000);
        f.Timer8.setEnabled(true);
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
        if (f.practising) {
            f.Timer9.setInterval(200);
            f.Timer9.setEnabled(true);
        }
    } else {
        f.Slider2.enabled = true;
        if (f.practising) {
            f.Timer9.setEnabled(false);
            f.Timer10.setEnabled(false);
            speech_.SetTone();
        }
    }
}

void ChannelConditions::Timer9_Timer() {
    f.toneCentre = kSweepTopHz;
    f.toneDown = true;
    f.random().reseedFromClock();
    if (f.random().draw(5, 0) != 3) return;  // a sweep starts on one tick in five
    f.random().reseedFromClock();
    f.Timer10.setInterval(f.random().draw(11, 1));  // 1..11 ms, so in effect 10 or 11 ms
    f.Timer10.setEnabled(true);
    // The floor stays below the top, so that every sweep turns and ends.
    f.random().reseedFromClock();
    f.toneFloor = static_cast<std::int16_t>(f.random().draw(720, 80));
    f.Timer9.setEnabled(false);
}

void ChannelConditions::Timer10_Timer() {
    if (f.toneCentre <= kSweepTopHz && f.toneCentre > f.toneFloor && f.toneDown) {
        --f.toneCentre;
    } else if (f.toneCentre < kSweepTopHz) {
        f.toneDown = false;
        ++f.toneCentre;
    } else if (f.toneCentre == kSweepTopHz && !f.toneDown) {
        f.toneDown = true;
        f.Timer9.setEnabled(true);
        f.Timer10.setEnabled(false);
    }
    f.Text3.setText(std::to_string(f.toneCentre));
    f.toneCentre = std::min<std::int16_t>(f.toneCentre, kSweepTopHz);
    if (f.paramEq) f.paramEq->setAllParameters(toneBoost(f.toneCentre));
}

void ChannelConditions::Timer11_Timer() {
    if (!f.practising) return;
    if (f.Check4.value != 1 && f.noiseBuffer) f.noiseBuffer->setVolume(selectedNoiseLevel());
    if (f.clipBuffer && f.Check3.value != 1) f.clipBuffer->setVolume(0);
    if (!f.waitingForAnswer && f.Check5.value != 1) f.restartReaderInterval();
}

}  // namespace tessaly
