// The interfering station (QRM): one random letter or digit a second, in the
// reader's word set, 12 dB down and 4.3 % higher.
#include "practice/main_form.h"

namespace tessaly {

void MainForm::Timer3_Timer() {
    random_.reseedFromClock();
    const char digit = static_cast<char>(48 + random_.draw(10, 0));
    random_.reseedFromClock();
    const char letter = static_cast<char>(65 + random_.draw(26, 0));
    random_.reseedFromClock();
    const int chooser = random_.draw(2, 1);
    qrmClipName = ResToStr(std::string(1, chooser < 1.5 ? letter : digit));
    ReopenDevice();
    qrmBuffer = ds ? ds->createBufferFromResource(qrmClipName, kFlagsWithoutTone) : nullptr;
    if (!qrmBuffer) return;
    qrmBuffer->setVolume(-1200);
    qrmBuffer->setFrequency(23000);
    qrmBuffer->play(false);
}

void MainForm::Check2_Click() {
    if (!practising) return;
    if (Check2.value == 1) {
        Timer3.setEnabled(true);
    } else if (Check2.value == 0) {
        if (qrmBuffer) qrmBuffer->stop();
        Timer3.setEnabled(false);
    }
}

}  // namespace tessaly
