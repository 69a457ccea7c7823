// Fading (QSB): the reader's clips start ever quieter down to a random depth of
// 9 to 26 dB and climb back, 0.2 dB per step.
#include "channel/channel_conditions.h"

#include <algorithm>

namespace tessaly {

void ChannelConditions::Timer4_Timer() {
    f.fadeLevel = 0;
    f.fadeDown = true;
    f.random().reseedFromClock();
    if (f.random().draw(10, 0) != 3) return;  // a fade starts on one tick in ten
    f.Timer5.setInterval(f.drawTimerInterval());
    f.Timer5.setEnabled(true);
    f.random().reseedFromClock();
    f.fadeFloor = static_cast<float>(f.random().draw(1701, -2600));
    f.Timer4.setEnabled(false);
}

void ChannelConditions::Timer5_Timer() {
    if (f.fadeLevel <= 0 && f.fadeLevel > f.fadeFloor && f.fadeDown) {
        f.fadeLevel -= 20;
    } else if (f.fadeLevel <= -20) {
        f.fadeDown = false;
        f.fadeLevel += 20;
    } else if (f.fadeLevel == 0 && !f.fadeDown) {
        f.fadeDown = true;
        f.Timer4.setEnabled(true);
        f.Timer5.setEnabled(false);
    }
    f.fadeLevel = std::clamp(f.fadeLevel, kVolumeSilent, 0);
}

void ChannelConditions::Check3_Click() {
    if (!f.practising) return;
    if (f.Check3.value == 1) {
        f.Timer4.setInterval(f.drawTimerInterval());
        f.Timer4.setEnabled(true);
    } else if (f.Check3.value == 0) {
        f.Timer4.setEnabled(false);
        f.Timer5.setEnabled(false);
        if (f.clipBuffer) f.clipBuffer->setVolume(0);
    }
}

}  // namespace tessaly
