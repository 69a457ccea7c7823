// Random variation of noise, speed and tone, and the supervisory timer that keeps
// the manual settings applied for whatever is not being varied.
#include "channel/noise_levels.h"
#include "practice/main_form.h"

#include <algorithm>

namespace tessaly {
namespace {
constexpr int kSweepTopHz = 800;  // tone sweeps start and end here
}

void MainForm::Check4_Click() {
    const bool ticked = Check4.value == 1;
    for (OptionButton* o : {&Option1, &Option2, &Option3, &Option4, &Option5, &Option6}) o->enabled = !ticked;
    if (ticked) {
        if (practising) {
            Timer6.setInterval(drawTimerInterval());
            Timer6.setEnabled(true);
        }
    } else {
        Timer6.setEnabled(false);
        Timer7.setEnabled(false);
        // Silent at once; while practising the supervisory timer restores the level.
        if (noiseBuffer) noiseBuffer->setVolume(kVolumeSilent);
    }
}

void MainForm::Timer6_Timer() {
    noiseDipLevel = 0;
    noiseDipDown = true;
    random_.reseedFromClock();
    if (random_.draw(3, 0) != 1) return;  // a dip starts on one tick in three
    Timer7.setInterval(drawTimerInterval());
    Timer7.setEnabled(true);
    random_.reseedFromClock();
    noiseDipFloor = static_cast<float>(random_.draw(4101, -4600));
    Timer6.setEnabled(false);
}

void MainForm::Timer7_Timer() {
    if (noiseDipDown && noiseDipLevel > noiseDipFloor && noiseDipLevel <= 0) {
        noiseDipLevel -= 10;
    } else if (noiseDipLevel <= -10) {
        noiseDipDown = false;
        noiseDipLevel += 10;
    } else if (!noiseDipDown && noiseDipLevel == 0) {
        noiseDipDown = true;
        Timer6.setEnabled(true);
        Timer7.setEnabled(false);
    }
    noiseDipLevel = std::clamp(noiseDipLevel, kVolumeSilent, 0);
    if (noiseBuffer) noiseBuffer->setVolume(noiseDipLevel);
}

void MainForm::Check5_Click() {
    if (Check5.value == 1) {
        Slider1.enabled = false;
        Timer8.setInterval(2000);
        Timer8.setEnabled(true);
    } else {
        Slider1.enabled = true;
        Timer8.setEnabled(false);
        restartReaderInterval();
    }
}

void MainForm::Timer8_Timer() {
    random_.reseedFromClock();
    const int speed = random_.draw(10, 1);  // 1..10: never the fastest manual speed
    Timer2.setInterval(speed * 120 + 500);
}

void MainForm::Check6_Click() {
    if (Check6.value == 1) {
        Slider2.enabled = false;
        if (practising) {
            Timer9.setInterval(200);
            Timer9.setEnabled(true);
        }
    } else {
        Slider2.enabled = true;
        if (practising) {
            Timer9.setEnabled(false);
            Timer10.setEnabled(false);
            SetTone();
        }
    }
}

void MainForm::Timer9_Timer() {
    toneCentre = kSweepTopHz;
    toneDown = true;
    random_.reseedFromClock();
    if (random_.draw(5, 0) != 3) return;  // a sweep starts on one tick in five
    random_.reseedFromClock();
    Timer10.setInterval(random_.draw(11, 1));  // 1..11 ms, so in effect 10 or 11 ms
    Timer10.setEnabled(true);
    // The floor stays below the top, so that every sweep turns and ends.
    random_.reseedFromClock();
    toneFloor = static_cast<std::int16_t>(random_.draw(720, 80));
    Timer9.setEnabled(false);
}

void MainForm::Timer10_Timer() {
    if (toneCentre <= kSweepTopHz && toneCentre > toneFloor && toneDown) {
        --toneCentre;
    } else if (toneCentre < kSweepTopHz) {
        toneDown = false;
        ++toneCentre;
    } else if (toneCentre == kSweepTopHz && !toneDown) {
        toneDown = true;
        Timer9.setEnabled(true);
        Timer10.setEnabled(false);
    }
    Text3.setText(std::to_string(toneCentre));
    toneCentre = std::min<std::int16_t>(toneCentre, kSweepTopHz);
    if (paramEq) paramEq->setAllParameters({static_cast<float>(toneCentre), 36.0f, 15.0f});
}

void MainForm::Timer11_Timer() {
    if (!practising) return;
    if (Check4.value != 1 && noiseBuffer) noiseBuffer->setVolume(selectedNoiseLevel());
    if (clipBuffer && Check3.value != 1) clipBuffer->setVolume(0);
    if (!waitingForAnswer && Check5.value != 1) restartReaderInterval();
}

}  // namespace tessaly
