#pragma once
// The form's speech output: which clip speaks a character (the catalogue), the
// reader that speaks the practice text one character a tick of Timer2, and the
// window's sound objects (device, clip buffers, the voice's tone).
#include "practice/form_state.h"

#include <memory>
#include <string>

namespace tessaly {

// Clips are recorded at 11025 Hz and played at twice that rate.
constexpr int kClipFrequency = 22050;

// The voice's tone: the widest, strongest boost the equaliser takes, centred on
// `centreHz` (the tone slider, or a tone sweep's current centre).
constexpr float kToneBoostBandwidthSemitones = 36.0f;
constexpr float kToneBoostGainDb = 15.0f;
inline ParamEqParameters toneBoost(int centreHz) {
    return {static_cast<float>(centreHz), kToneBoostBandwidthSemitones, kToneBoostGainDb};
}

class SpeechOutput {
public:
    explicit SpeechOutput(FormState& form) : f(form) {}

    // The catalogue: the clip name of one character of the practice text.
    std::string ResToStr(const std::string& StrRes);

    // The reader.
    void Timer2_Timer();
    void Slider1_Change();

    // The sound objects.
    void ReopenDevice();
    void StartClip();
    void SetupEffect();
    void SetBuffer(std::shared_ptr<SoundBuffer> oBuf, std::int32_t Index);
    void GetParamEq();
    void SetTone();
    void Slider2_Change();
    void Slider2_Scroll();
    void ReleaseSound();

private:
    void endOfReading();  // the reader reached the end of the practice text

    FormState& f;
};

}  // namespace tessaly
