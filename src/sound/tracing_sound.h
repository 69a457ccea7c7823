#pragma once
// A sound platform that reports every operation, named by the role of its buffer
// (clip, qrm, noise, qrn), and passes it on to a real platform if one is given.
// Without one it only keeps the buffers' state: tests and the headless host use
// it to see exactly what the practice logic asks of the sound engine.
#include "sound/sound_api.h"

#include <functional>
#include <memory>
#include <string>

namespace tessaly {

struct SoundOperation {
    std::string buffer;  // "clip", "qrm", "noise" or "qrn"; "channel" for the received channel
    std::string op;      // create, play, stop, volume, frequency, eq, release; channel: noise, snr, path, receiver
    std::string name;    // create: the resource name asked for; path: "reader:good"; receiver: its AGC
    bool loop = false;   // play; receiver: the passband
    int value = 0;       // volume, noise and snr (hundredths of a dB) or frequency (samples per second)
    ParamEqParameters eq;
};

using SoundOperationSink = std::function<void(const SoundOperation&)>;

class TracingSoundPlatform final : public SoundPlatform {
public:
    // inner may be null: then nothing sounds and buffers only keep their state.
    TracingSoundPlatform(SoundPlatform* inner, SoundOperationSink sink);
    ~TracingSoundPlatform() override;
    std::shared_ptr<SoundDevice> openDefaultDevice() override;

private:
    class Device;
    SoundPlatform* inner_;
    std::shared_ptr<SoundOperationSink> sink_;
    std::shared_ptr<Device> device_;
};

// How the trace names a buffer by its bus: clip, qrm, noise, qrn, caller1 .. caller6.
std::string busRole(Bus bus);

}  // namespace tessaly
