// Band noise level and the static crackle (QRN).
#include "channel/channel_conditions.h"
#include "channel/noise_levels.h"

namespace tessaly {

int ChannelConditions::selectedNoiseLevel() const {
    // While an SNR is set the buffer plays at full volume and the channel sets the level.
    if (f.additions.snrDb || f.callsignSnrDb || f.thresholdRunning) return kVolumeFull;
    const OptionButton* buttons[6] = {&f.Option1, &f.Option2, &f.Option3, &f.Option4, &f.Option5, &f.Option6};
    for (int i = 0; i < 6; ++i)
        if (buttons[i]->value) return kNoiseLevelVolumes[i];
    return kVolumeSilent;
}

// Each level applies at once, practising or not; nothing is played or stopped.
void ChannelConditions::Option1_Click() { if (f.noiseBuffer) f.noiseBuffer->setVolume(kNoiseLevelVolumes[0]); }
void ChannelConditions::Option2_Click() { if (f.noiseBuffer) f.noiseBuffer->setVolume(kNoiseLevelVolumes[1]); }
void ChannelConditions::Option3_Click() { if (f.noiseBuffer) f.noiseBuffer->setVolume(kNoiseLevelVolumes[2]); }
void ChannelConditions::Option4_Click() { if (f.noiseBuffer) f.noiseBuffer->setVolume(kNoiseLevelVolumes[3]); }
void ChannelConditions::Option5_Click() { if (f.noiseBuffer) f.noiseBuffer->setVolume(kNoiseLevelVolumes[4]); }
void ChannelConditions::Option6_Click() { if (f.noiseBuffer) f.noiseBuffer->setVolume(kNoiseLevelVolumes[5]); }

void ChannelConditions::Check1_Click() {
    if (!f.practising || !f.qrnBuffer) return;
    if (f.Check1.value == 1) f.qrnBuffer->play(true);
    else if (f.Check1.value == 0) f.qrnBuffer->stop();
}

}  // namespace tessaly
