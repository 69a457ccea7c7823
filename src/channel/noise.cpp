// Band noise level and the static crackle (QRN).
#include "channel/noise_levels.h"
#include "practice/main_form.h"

namespace tessaly {

int MainForm::selectedNoiseLevel() const {
    const OptionButton* buttons[6] = {&Option1, &Option2, &Option3, &Option4, &Option5, &Option6};
    for (int i = 0; i < 6; ++i)
        if (buttons[i]->value) return kNoiseLevelVolumes[i];
    return kVolumeSilent;
}

// Each level applies at once, practising or not; nothing is played or stopped.
void MainForm::Option1_Click() { if (noiseBuffer) noiseBuffer->setVolume(kNoiseLevelVolumes[0]); }
void MainForm::Option2_Click() { if (noiseBuffer) noiseBuffer->setVolume(kNoiseLevelVolumes[1]); }
void MainForm::Option3_Click() { if (noiseBuffer) noiseBuffer->setVolume(kNoiseLevelVolumes[2]); }
void MainForm::Option4_Click() { if (noiseBuffer) noiseBuffer->setVolume(kNoiseLevelVolumes[3]); }
void MainForm::Option5_Click() { if (noiseBuffer) noiseBuffer->setVolume(kNoiseLevelVolumes[4]); }
void MainForm::Option6_Click() { if (noiseBuffer) noiseBuffer->setVolume(kNoiseLevelVolumes[5]); }

void MainForm::Check1_Click() {
    if (!practising || !qrnBuffer) return;
    if (Check1.value == 1) qrnBuffer->play(true);
    else if (Check1.value == 0) qrnBuffer->stop();
}

}  // namespace tessaly
