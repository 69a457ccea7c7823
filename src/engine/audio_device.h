#pragma once
// The system's default output device as the live output's worker drives it: one
// attempt after another, each from a fresh start of the audio library, which finds
// devices (a sound server that appeared, a card plugged in) only when it starts.
// Every call comes from the worker thread; only the stream's own thread calls fill.
#include <memory>
#include <string>

namespace tessaly {

// What a stream's real-time thread calls: fills `frames` interleaved frames of the
// stream's channels. Must not allocate, lock or wait. `underflowed`: the device ran
// out of sound before this call (it played a gap).
class StreamSource {
public:
    virtual void fill(float* out, unsigned long frames, bool underflowed = false) = 0;

protected:
    ~StreamSource() = default;
};

class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    // Starts the library afresh and opens a stream on the default output device, not
    // yet running. False with a reason; close() then undoes what was done.
    virtual bool open(StreamSource& source, std::string& reason) = 0;
    virtual int channels() const = 0;  // of the open stream: 1 or 2
    // Starts the stream: from here its thread calls source.fill.
    virtual bool start(std::string& reason) = 0;
    // Stops the stream's callbacks (returning once its thread no longer calls fill)
    // and keeps it open: start() goes on with it.
    virtual void pause() = 0;
    // False once the stream has ended by itself (the device failed or went away).
    virtual bool active() = 0;
    // Stops the stream (abort: at once, dropping what the device still holds; else
    // after it has played that), returns only when its thread no longer calls fill,
    // and shuts the library down. Harmless after a failed open() and when closed.
    virtual void close(bool abort) = 0;
};

// PortAudio's default output device at `sampleRate` frames per second, calling back
// for `framesPerCallback` frames at a time.
std::unique_ptr<AudioDevice> portAudioDevice(int sampleRate, int framesPerCallback);

}  // namespace tessaly
