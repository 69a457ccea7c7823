// The interfering station (QRM): one random letter or digit a second, in the
// reader's word set, 12 dB down and 4.3 % higher.
#include "channel/channel_conditions.h"

namespace tessaly {

void ChannelConditions::Timer3_Timer() {
    f.random().reseedFromClock();
    const char digit = static_cast<char>(48 + f.random().draw(10, 0));
    f.random().reseedFromClock();
    const char letter = static_cast<char>(65 + f.random().draw(26, 0));
    f.random().reseedFromClock();
    const int chooser = f.random().draw(2, 1);
    f.qrmClipName = speech_.ResToStr(std::string(1, chooser < 1.5 ? letter : digit));
    speech_.ReopenDevice();
    f.qrmBuffer = f.ds ? f.ds->createBufferFromResource(f.qrmClipName, kFlagsWithoutTone) : nullptr;
    if (!f.qrmBuffer) return;
    f.qrmBuffer->setVolume(-1200);
    f.qrmBuffer->setFrequency(kInterfererFrequency);
    f.qrmBuffer->play(false);
}

void ChannelConditions::Check2_Click() {
    if (!f.practising) return;
    if (f.Check2.value == 1) {
        startInterferer();
    } else if (f.Check2.value == 0) {
        if (f.qrmBuffer) f.qrmBuffer->stop();
        f.Timer3.setEnabled(false);
    }
}

}  // namespace tessaly
