#include "stations/interferer.h"

#include "sound/clip_catalogue.h"

namespace tessaly {

Interferer::Interferer(WindowControls& controls, SoundPlatform& platform, TimerClock& clock, RandomSource& random,
                       const PracticeReader& reader)
    : controls_(controls), reader_(reader), random_(random), station_(platform, Bus::Interferer, /*toned=*/false) {
    Timer3.attach(&clock, [this] { Timer3_Timer(); });
}

void Interferer::load() {
    Timer3.setEnabled(false);
    Timer3.setInterval(1000);
}

void Interferer::startIfTicked() {
    if (controls_.Check2.ticked()) Timer3.setEnabled(true);
}

void Interferer::Timer3_Timer() {
    random_.reseedFromClock();
    const char digit = static_cast<char>(48 + random_.draw(10, 0));
    random_.reseedFromClock();
    const char letter = static_cast<char>(65 + random_.draw(26, 0));
    random_.reseedFromClock();
    const int chooser = random_.draw(2, 1);
    clipName_ = clipNameFor(std::string(1, chooser < 1.5 ? letter : digit), reader_.steadyVoice(), random_);
    station_.say(clipName_, kInterfererVolume, kInterfererFrequency);
}

void Interferer::Check2_Click(bool practising) {
    if (!practising) return;
    if (controls_.Check2.value == 1) {
        Timer3.setEnabled(true);
    } else if (controls_.Check2.value == 0) {
        station_.stop();
        Timer3.setEnabled(false);
    }
}

}  // namespace tessaly
