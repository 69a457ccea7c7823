// Fading (QSB): the reader's clips start ever quieter down to a random depth of
// 9 to 26 dB and climb back, 0.2 dB per step.
#include "practice/main_form.h"

#include <algorithm>

namespace tessaly {

void MainForm::Timer4_Timer() {
    fadeLevel = 0;
    fadeDown = true;
    random_.reseedFromClock();
    if (random_.draw(10, 0) != 3) return;  // a fade starts on one tick in ten
    Timer5.setInterval(drawTimerInterval());
    Timer5.setEnabled(true);
    random_.reseedFromClock();
    fadeFloor = static_cast<float>(random_.draw(1701, -2600));
    Timer4.setEnabled(false);
}

void MainForm::Timer5_Timer() {
    if (fadeLevel <= 0 && fadeLevel > fadeFloor && fadeDown) {
        fadeLevel -= 20;
    } else if (fadeLevel <= -20) {
        fadeDown = false;
        fadeLevel += 20;
    } else if (fadeLevel == 0 && !fadeDown) {
        fadeDown = true;
        Timer4.setEnabled(true);
        Timer5.setEnabled(false);
    }
    fadeLevel = std::clamp(fadeLevel, kVolumeSilent, 0);
}

void MainForm::Check3_Click() {
    if (!practising) return;
    if (Check3.value == 1) {
        Timer4.setInterval(drawTimerInterval());
        Timer4.setEnabled(true);
    } else if (Check3.value == 0) {
        Timer4.setEnabled(false);
        Timer5.setEnabled(false);
        if (clipBuffer) clipBuffer->setVolume(0);
    }
}

}  // namespace tessaly
