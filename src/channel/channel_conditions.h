#pragma once
// The form's channel conditions: band noise and its level, static crackle (QRN),
// the interfering station (QRM), fading (QSB), the random variation of noise,
// speed and tone, and the supervisory timer that keeps the manual settings
// applied. The interferer speaks through the speech output's catalogue and
// device; a tone sweep moves the speech output's equaliser.
#include "practice/form_state.h"
#include "speech/speech_output.h"

namespace tessaly {

// The interfering station plays its clips 4.3 % faster than the reader.
constexpr int kInterfererFrequency = 23000;
// The band noise plays at a quarter of its recorded rate: two octaves down.
constexpr int kBandNoiseFrequency = 11025;

class ChannelConditions {
public:
    ChannelConditions(FormState& form, SpeechOutput& speech) : f(form), speech_(speech) {}

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
    FormState& f;
    SpeechOutput& speech_;
};

}  // namespace tessaly
