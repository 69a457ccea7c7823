// Fading (QSB): the reader's clips start ever quieter down to a random depth of
// 9 to 26 dB and climb back, 0.2 dB per step.
#include "channel/channel_conditions.h"

#include <algorithm>

namespace tessaly {

void ChannelConditions::Timer4_Timer() { fade_.schedulerTick(); }

void ChannelConditions::Timer5_Timer() {
    fade_.rampTick();
    f.fadeLevel = std::clamp(f.fadeLevel, kVolumeSilent, 0);
}

void ChannelConditions::Check3_Click() {
    if (!f.practising) return;
    if (f.Check3.value == 1) {
        startFading();
    } else if (f.Check3.value == 0) {
        fade_.stop();
        if (f.clipBuffer) f.clipBuffer->setVolume(0);
    }
}

}  // namespace tessaly
