// The default output device through PortAudio.
#include "engine/audio_device.h"

#include "engine/quiet_audio.h"

#include <pa_linux_alsa.h>
#include <portaudio.h>

#include <algorithm>

namespace tessaly {
namespace {

// The device's buffer. Below 5 ms the sound breaks up; on a busy machine a sound
// server that is not scheduled in time for 20 ms drains a short buffer and plays a
// gap, which shifts every later sound. 60 ms rides that out, and nothing the
// learner does waits for it: a practice's sounds keep their spacing whatever it is.
constexpr double kLatencySeconds = 0.060;

int audioCallback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                  PaStreamCallbackFlags flags, void* user) {
    static_cast<StreamSource*>(user)->fill(static_cast<float*>(output), frames, (flags & paOutputUnderflow) != 0);
    return paContinue;
}

class PortAudioDevice final : public AudioDevice {
public:
    PortAudioDevice(int sampleRate, int framesPerCallback)
        : rate_(sampleRate), framesPerCallback_(framesPerCallback) {}
    ~PortAudioDevice() override { close(true); }

    bool open(StreamSource& source, std::string& reason) override {
        close(true);
        quietAudioLibraries();  // before Pa_Initialize: ALSA and JACK print ~100 lines without a card
        PaError error = Pa_Initialize();
        if (error != paNoError) {
            reason = Pa_GetErrorText(error);
            return false;
        }
        initialised_ = true;
        const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
        const PaDeviceInfo* info = device == paNoDevice ? nullptr : Pa_GetDeviceInfo(device);
        if (!info || info->maxOutputChannels < 1) {
            reason = "no output device";
            return false;
        }
        // Two channels where possible: sound cards rarely take mono directly.
        channels_ = std::min(info->maxOutputChannels, 2);
        PaStreamParameters parameters{};
        parameters.device = device;
        parameters.channelCount = channels_;
        parameters.sampleFormat = paFloat32;
        parameters.suggestedLatency = std::max(info->defaultLowOutputLatency, kLatencySeconds);
        error = Pa_OpenStream(&stream_, nullptr, &parameters, rate_, static_cast<unsigned long>(framesPerCallback_),
                              paClipOff, &audioCallback, &source);
        if (error != paNoError) {
            stream_ = nullptr;
            reason = Pa_GetErrorText(error);
            return false;
        }
        // Where the system allows it, the callback's thread is scheduled ahead of
        // ordinary work, so a loaded machine does not starve it (ALSA only).
        if (const PaHostApiInfo* api = Pa_GetHostApiInfo(info->hostApi); api && api->type == paALSA)
            PaAlsa_EnableRealtimeScheduling(stream_, 1);
        return true;
    }

    int channels() const override { return channels_; }

    bool start(std::string& reason) override {
        // Starts the callback's thread, which orders it after everything this thread did.
        const PaError error = Pa_StartStream(stream_);
        if (error != paNoError) reason = Pa_GetErrorText(error);
        return error == paNoError;
    }

    void pause() override {
        if (stream_) Pa_StopStream(stream_);
    }

    bool active() override { return Pa_IsStreamActive(stream_) == 1; }

    void close(bool abort) override {
        if (stream_) {
            // Both join the callback's thread.
            if (abort) {
                Pa_AbortStream(stream_);
            } else {
                Pa_StopStream(stream_);
            }
            Pa_CloseStream(stream_);
            stream_ = nullptr;
        }
        if (initialised_) Pa_Terminate();
        initialised_ = false;
    }

private:
    const int rate_;
    const int framesPerCallback_;
    PaStream* stream_ = nullptr;
    bool initialised_ = false;
    int channels_ = 2;
};

}  // namespace

std::unique_ptr<AudioDevice> portAudioDevice(int sampleRate, int framesPerCallback) {
    return std::make_unique<PortAudioDevice>(sampleRate, framesPerCallback);
}

}  // namespace tessaly
