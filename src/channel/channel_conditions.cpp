// Starting the band conditions, and the excursions of fading and the random variations.
#include "channel/channel_conditions.h"

namespace tessaly {
namespace {

// A fade sinks 0.2 dB a step to 9 .. 26 dB down; one scheduler tick in ten starts one.
constexpr ExcursionRule kFadeRule{0, 20, 10, 3, 91, 50, 1701, -2600};
// A noise dip sinks 0.1 dB a step to 5 .. 46 dB down; one tick in three starts one.
constexpr ExcursionRule kNoiseDipRule{0, 10, 3, 1, 91, 50, 4101, -4600};
// A tone sweep moves the boost's centre 1 Hz a step from 800 Hz down to 80 .. 799 Hz
// (never 800, so that every sweep turns and ends); one tick in five starts one.
constexpr ExcursionRule kToneSweepRule{kSweepTopHz, 1, 5, 3, 11, 1, 720, 80};

}  // namespace

ChannelConditions::ChannelConditions(FormState& form, SpeechOutput& speech)
    : f(form), speech_(speech),
      fade_(kFadeRule, f.Timer4, f.Timer5, f.fadeLevel, f.fadeFloor, f.fadeDown, f.random()),
      noiseDip_(kNoiseDipRule, f.Timer6, f.Timer7, f.noiseDipLevel, f.noiseDipFloor, f.noiseDipDown, f.random()),
      toneSweep_(kToneSweepRule, f.Timer9, f.Timer10, f.toneCentre, f.toneFloor, f.toneDown, f.random()) {}

void ChannelConditions::startTicked() {
    // Without a sound device the noise loops do not exist: the practice runs silently.
    if (f.noiseBuffer) f.noiseBuffer->play(true);
    startAdditions();
    if (f.Check1.ticked() && f.qrnBuffer) f.qrnBuffer->play(true);
    if (f.Check2.ticked()) startInterferer();
    if (f.Check3.ticked()) startFading();
    if (f.Check4.ticked() && !f.thresholdRunning) startNoiseDips();  // a threshold run sets the noise alone
    if (f.Check5.ticked()) startSpeedChanges();
    if (f.Check6.ticked()) startToneSweeps(1000);
}

void ChannelConditions::startInterferer() { f.Timer3.setEnabled(true); }
void ChannelConditions::startFading() { fade_.start(f.drawTimerInterval()); }
void ChannelConditions::startNoiseDips() { noiseDip_.start(f.drawTimerInterval()); }
void ChannelConditions::startToneSweeps(int firstWaitMs) { toneSweep_.start(firstWaitMs); }

void ChannelConditions::startSpeedChanges() {
    f.Timer8.setInterval(2000);
    f.Timer8.setEnabled(true);
}

}  // namespace tessaly
