#pragma once
// The form's channel conditions: band noise and its level, static crackle (QRN),
// the interfering station (QRM), fading (QSB), the random variation of noise,
// speed and tone, and the supervisory timer that keeps the manual settings
// applied. The interferer speaks through the speech output's catalogue and
// device; a tone sweep moves the speech output's equaliser.
#include "channel/excursion.h"
#include "practice/form_state.h"
#include "speech/speech_output.h"

namespace tessaly {

// The interfering station plays its clips 4.3 % faster than the reader.
constexpr int kInterfererFrequency = 23000;
// Tone sweeps start and end with the boost centred here, in Hz.
constexpr int kSweepTopHz = 800;
// The band noise plays at a quarter of its recorded rate: two octaves down.
constexpr int kBandNoiseFrequency = 11025;

class ChannelConditions {
public:
    ChannelConditions(FormState& form, SpeechOutput& speech);

    // Start's part: the band noise loop plays, and each ticked condition starts as
    // its box starts it during a practice (the tone sweeps wait 1000 ms here, not 200).
    void startTicked();

    // Noise level buttons and QRN.
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Option5_Click();
    void Option6_Click();
    void Check1_Click();
    // Noise volume of the selected level button (hundredths of a dB).
    int selectedNoiseLevel() const;

    // QRM.
    void Check2_Click();
    void Timer3_Timer();

    // QSB.
    void Check3_Click();
    void Timer4_Timer();
    void Timer5_Timer();

    // Additions: the band noise at an SNR instead of a level, each station's
    // ionospheric path, the receiver. Each is called once its setting has changed.
    void snrChanged();
    void pathChanged();
    void receiverChanged();
    // The reader begins a callsign: its SNR is set now, on the frame of its first clip.
    void callsignBegins();
    // The level button (1..5 for S1..S5) whose band noise comes nearest `snrDb` with
    // the voice as it is set now: 6 for noise well beyond S5, 0 well below S1;
    // nullopt where the sound cannot tell.
    std::optional<int> levelNear(double snrDb);

    // Random variation and the supervisory timer.
    void Check4_Click();
    void Check5_Click();
    void Check6_Click();
    void Timer6_Timer();
    void Timer7_Timer();
    void Timer8_Timer();
    void Timer9_Timer();
    void Timer10_Timer();
    void Timer11_Timer();

private:
    ReceivedChannel* received() const { return f.ds ? f.ds->channel() : nullptr; }
    void startAdditions();
    void applySnr();
    SnrReference snrReference() const;
    void applyPath();
    void enableLevelButtons();

    // Each condition's start, the same from Start and from its box.
    void startInterferer();
    void startFading();
    void startNoiseDips();
    void startSpeedChanges();
    void startToneSweeps(int firstWaitMs);

    FormState& f;
    SpeechOutput& speech_;
    Excursion<int, float> fade_;
    Excursion<int, float> noiseDip_;
    Excursion<std::int16_t, std::int16_t> toneSweep_;
    // What the received channel was last told, so that nothing is said while unused.
    std::optional<double> appliedSnr_;
    std::string appliedPath_ = "off";
};

}  // namespace tessaly
