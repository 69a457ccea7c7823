// The sound objects of the main window: device, clip buffers and the voice's tone.
#include "speech/speech_output.h"

namespace tessaly {

void SpeechOutput::ReopenDevice() {
    f.dx = &f.platform();
    f.ds = f.dx->openDefaultDevice();
}

void SpeechOutput::StartClip() {
    f.host().clipStarted(f.clipName, f.fadeLevel, kClipFrequency);
    ReopenDevice();
    // Replacing the buffer drops the previous clip (the engine lets a sounding clip finish).
    f.clipBuffer = f.ds ? f.ds->createBufferFromResource(f.clipName, kFlagsWithTone) : nullptr;
    SetupEffect();
    SetTone();
    if (!f.clipBuffer) return;
    f.clipBuffer->setVolume(f.fadeLevel);
    f.clipBuffer->setFrequency(kClipFrequency);
    f.clipBuffer->play(false);
}

void SpeechOutput::SetupEffect() {
    if (f.clipBuffer) f.clipBuffer->setFxParamEq();
    SetBuffer(f.clipBuffer, 0);
    GetParamEq();
}

void SpeechOutput::SetBuffer(std::shared_ptr<SoundBuffer> oBuf, std::int32_t Index) {
    f.fxBuffer = std::move(oBuf);
    f.fxIndex = Index;
}

void SpeechOutput::GetParamEq() { f.paramEq = f.fxBuffer ? f.fxBuffer->paramEqInPath(f.fxIndex) : nullptr; }

void SpeechOutput::SetTone() {
    if (!f.paramEq) return;
    f.paramEq->setAllParameters(toneBoost(f.Slider2.value));
}

void SpeechOutput::Slider2_Change() {
    if (f.practising) SetTone();
}

void SpeechOutput::Slider2_Scroll() {
    if (f.practising) SetTone();
}

void SpeechOutput::ReleaseSound() {
    for (auto* buffer : {&f.clipBuffer, &f.qrmBuffer, &f.qrnBuffer}) {
        if (!*buffer) continue;
        if ((*buffer)->getStatus() == kStatusPlaying) (*buffer)->stop();
        buffer->reset();
    }
    // The effect holders keep the last clip alive otherwise.
    f.fxBuffer.reset();
    f.paramEq.reset();
    f.ds.reset();
    f.dx = nullptr;
}

}  // namespace tessaly
