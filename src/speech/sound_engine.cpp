// The sound objects of the main window: device, clip buffers and the voice's tone.
#include "practice/main_form.h"

namespace tessaly {

void MainForm::ReopenDevice() {
    dx = &platform_;
    ds = dx->openDefaultDevice();
}

void MainForm::StartClip() {
    host_.clipStarted(clipName, fadeLevel, 22050);
    ReopenDevice();
    // Replacing the buffer drops the previous clip (the engine lets a sounding clip finish).
    clipBuffer = ds ? ds->createBufferFromResource(clipName, kFlagsWithTone) : nullptr;
    SetupEffect();
    SetTone();
    if (!clipBuffer) return;
    clipBuffer->setVolume(fadeLevel);
    clipBuffer->setFrequency(22050);
    clipBuffer->play(false);
}

void MainForm::SetupEffect() {
    if (clipBuffer) clipBuffer->setFxParamEq();
    SetBuffer(clipBuffer, 0);
    GetParamEq();
}

void MainForm::SetBuffer(std::shared_ptr<SoundBuffer> oBuf, std::int32_t Index) {
    fxBuffer = std::move(oBuf);
    fxIndex = Index;
}

void MainForm::GetParamEq() { paramEq = fxBuffer ? fxBuffer->paramEqInPath(fxIndex) : nullptr; }

void MainForm::SetTone() {
    if (!paramEq) return;
    // The widest, strongest boost the equaliser takes, centred on the tone slider.
    paramEq->setAllParameters({static_cast<float>(Slider2.value), 36.0f, 15.0f});
}

void MainForm::Slider2_Change() {
    if (practising) SetTone();
}

void MainForm::Slider2_Scroll() {
    if (practising) SetTone();
}

void MainForm::ReleaseSound() {
    for (auto* buffer : {&clipBuffer, &qrmBuffer, &qrnBuffer}) {
        if (!*buffer) continue;
        if ((*buffer)->getStatus() == kStatusPlaying) (*buffer)->stop();
        buffer->reset();
    }
    // The effect holders keep the last clip alive otherwise.
    fxBuffer.reset();
    paramEq.reset();
    ds.reset();
    dx = nullptr;
}

}  // namespace tessaly
