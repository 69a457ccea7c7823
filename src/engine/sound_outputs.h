#pragma once
// What the hosts get from the sound engine: one mixer behind every output.
//  - offline: renders in virtual time into a WAV file, sample-accurately;
//  - live: the default output device through PortAudio, or silence while there is none.
#include "sound/pace.h"
#include "sound/sound_api.h"
#include "sound/wave_lookup.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tessaly {

struct OutputFormat {
    int sampleRate = 48000;  // frames per second
    int channels = 1;        // 1 or 2; the mix is mono, copied to both channels
};

class OfflineSound {
public:
    virtual ~OfflineSound() = default;
    virtual SoundPlatform& platform() = 0;
    // Renders the output up to frame round(ms x rate / 1000). Operations on the
    // platform do this first themselves, with the time that nowMs gives.
    virtual void renderUntilMs(std::int64_t ms) = 0;
    // Writes out the rest and closes the file; false with a message on failure.
    virtual bool finish(std::string& error) = 0;
    // A write has failed: nothing more is written, and finish() says why.
    virtual bool writeFailed() const { return false; }
};

// nowMs: the virtual clock, read before every operation so that a clip started at
// virtual time t begins at output frame round(t x rate / 1000).
std::unique_ptr<OfflineSound> makeWavOutput(const std::string& path, OutputFormat format,
                                            std::function<std::int64_t()> nowMs, std::string& error,
                                            WaveLookup waves = builtInWaves());

// Where the live sound goes.
enum class SoundState : std::uint8_t {
    Starting,  // the device is being opened; sound made now waits and starts with it
    Device,    // the default output device plays
    Silent,    // no device (none yet, or it went away): the null output keeps the
               // practice's time and the device is tried again every second
};

struct SoundStatus {
    SoundState state = SoundState::Starting;
    std::uint64_t changes = 0;  // how many times the state has changed since opening
};

class LiveSound {
public:
    virtual ~LiveSound() = default;
    virtual SoundPlatform& platform() = 0;
    virtual bool usingDevice() const = 0;  // false: the silent null output (or starting)
    // The device opens in the background (PortAudio takes 70-85 ms to start): waits at
    // most timeoutMs for it to play, or for the null output to take over, then answers
    // as usingDevice does. Sound made meanwhile waits and starts when the output does.
    virtual bool waitForDevice(int timeoutMs) { (void)timeoutMs; return usingDevice(); }
    // The state now, with its change count, read together from one atomic word: never
    // locks or waits, any thread. A host polls it (every few hundred ms) and acts
    // when `changes` differs from what it saw last; a change it missed between two
    // polls shows in the count.
    virtual SoundStatus status() const {
        return {usingDevice() ? SoundState::Device : SoundState::Silent, 0};
    }
    // Decodes these recordings now, on the calling thread, so that making buffers of
    // them later costs nothing. Only before the platform is first used (the host
    // opens the output on a worker thread and preloads there, off the UI thread).
    virtual void preload(std::initializer_list<std::string_view> names) { (void)names; }
    // The pace a live host moves the form clock on by, following the output's frames;
    // from now on every operation is stamped with the frame of the form-clock time
    // formNowMs gives (see sound/pace.h). UI thread; the host keeps the clock it reads.
    virtual std::shared_ptr<Pace> followFormClock(std::function<std::int64_t()> formNowMs) = 0;
    // How many operations came too late for their frame, and the latest one's delay
    // in ms: the live timing's own check.
    struct Lateness {
        std::uint64_t operations = 0;
        double mostMs = 0;
        std::uint64_t underflows = 0;  // gaps the device played
    };
    virtual Lateness lateness() const { return {}; }
};

// The default output device, or the null output while there is none; losing the
// device and regaining it are said on standard error, one line each. Returns at
// once: the device opens on a worker thread while the platform already takes
// operations. A clip still sounding when its buffer is dropped plays to its end.
std::unique_ptr<LiveSound> openLiveSound(WaveLookup waves = builtInWaves());

}  // namespace tessaly
