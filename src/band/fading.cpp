// Fading (QSB): the reader's clips start ever quieter down to a random depth of 9 to
// 26 dB and climb back, 0.2 dB a step. And the random variation of the noise: the
// band noise dips by 5 to 46 dB and returns, 0.1 dB a step.
#include "band/band.h"

namespace tessaly {

void Band::Timer5_Timer() {
    fade_.rampTick();
    fade_.clamp(kVolumeSilent, 0);
}

bool Band::Check3_Click(bool practising) {
    if (!practising) return false;
    if (controls_.Check3.value == 1) {
        fade_.start(drawTimerInterval());
    } else if (controls_.Check3.value == 0) {
        fade_.stop();
        return true;
    }
    return false;
}

void Band::Check4_Click(bool practising) {
    enableLevelButtons();
    if (controls_.Check4.value == 1) {
        if (practising) noiseDip_.start(drawTimerInterval());
    } else {
        noiseDip_.stop();
        // Silent at once; while practising the supervisory timer restores the level.
        setNoiseVolume(kVolumeSilent);
    }
}

void Band::Timer7_Timer() {
    noiseDip_.rampTick();
    noiseDip_.clamp(kVolumeSilent, 0);
    setNoiseVolume(noiseVolume());
}

}  // namespace tessaly
