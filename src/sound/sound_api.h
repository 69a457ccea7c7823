#pragma once
// The sound platform as the practice logic sees it: a device, secondary buffers made
// from named WAVE resources, and one parametric equaliser per speaking buffer.
// Implementations: the mixer engine (real device, WAV file, null output) and the
// tracing wrapper used by tests and the headless host.
//
// Units: volume in hundredths of a dB of attenuation (0 full, -10000 silent, amplitude
// 10^(v/2000)); frequency is a buffer's playback rate in samples per second.
// Failing calls return false (or null) and change nothing; callers skip the step.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessaly {

constexpr int kVolumeFull = 0;
constexpr int kVolumeSilent = -10000;

// Buffer creation flags, as the original sound platform named them.
constexpr std::uint32_t kBufferCtrlFrequency = 0x20;
constexpr std::uint32_t kBufferCtrlPan = 0x40;
constexpr std::uint32_t kBufferCtrlVolume = 0x80;
constexpr std::uint32_t kBufferCtrlFx = 0x200;
constexpr std::uint32_t kBufferGlobalFocus = 0x8000;
constexpr std::uint32_t kFlagsWithTone = 0x82E0;     // clips and noise loops
constexpr std::uint32_t kFlagsWithoutTone = 0x80E0;  // the interfering station: no effect chain

// GetStatus bits.
constexpr int kStatusPlaying = 1;
constexpr int kStatusLooping = 4;

struct ParamEqParameters {
    float centerHz = 8000.0f;        // 80 .. 16000
    float bandwidthSemitones = 12.0f;  // 1 .. 36
    float gainDb = 0.0f;             // -15 .. 15
};

class ParamEq {
public:
    virtual ~ParamEq() = default;
    // Takes effect at once, also while the buffer plays.
    virtual bool setAllParameters(const ParamEqParameters& p) = 0;
    virtual ParamEqParameters getAllParameters() const = 0;
};

class SoundBuffer {
public:
    virtual ~SoundBuffer() = default;
    virtual bool play(bool looping) = 0;  // from the current position
    virtual bool stop() = 0;              // keeps the position
    virtual bool setVolume(int hundredthsDb) = 0;
    virtual bool setFrequency(int samplesPerSecond) = 0;
    virtual int getStatus() const = 0;    // kStatusPlaying | kStatusLooping bits
    // Gives the (stopped) buffer an effect chain of one parametric equaliser.
    virtual bool setFxParamEq() = 0;
    // The equaliser at `index` of the chain, or null. It keeps its buffer alive.
    virtual std::shared_ptr<ParamEq> paramEqInPath(int index) = 0;
};

// Where a buffer's sound enters the received channel: each station over its own
// path, the band noise and the static crackle straight to the receiver. Whoever makes
// a buffer names its bus.
enum class Bus : std::uint8_t {
    Reader,      // the station being copied: the reader's clips (and replays)
    Interferer,  // the interfering station
    BandNoise,   // the band-noise bed
    Static,      // static crackle
    Caller1,     // the stations of a pile-up, each on its own bus: Caller1 .. Caller6
};
constexpr int kCallerBuses = 6;
constexpr int kBusCount = 4 + kCallerBuses;
// The bus of the pile-up's caller `index` (0 .. kCallerBuses - 1).
constexpr Bus callerBus(int index) { return static_cast<Bus>(static_cast<int>(Bus::Caller1) + index); }
// The buses that are stations, with a path of their own.
constexpr bool isStation(Bus bus) { return bus != Bus::BandNoise && bus != Bus::Static; }
// A station's place among the stations: the reader 0, the interferer 1, the callers 2 on.
constexpr int stationIndex(Bus bus) {
    return bus == Bus::Reader ? 0 : bus == Bus::Interferer ? 1 : static_cast<int>(bus) - static_cast<int>(Bus::Caller1) + 2;
}
constexpr int kStationBuses = 2 + kCallerBuses;

// What a signal-to-noise ratio is measured against: the reader's voice as a callsign
// is spoken (its clips with their shares, at their playback rate, through the tone
// boost, one clip every reader interval, the silences between them included), and the
// band noise as its buffer plays it at full volume, both within the receiver's
// passband (300 .. 2700 Hz), so that an SNR is the same ratio with the receiver on or
// off. The noise level then follows from these alone, not from the clips a callsign
// happens to hold.
struct SnrReference {
    std::vector<std::pair<std::string, double>> clips;  // resource name, share
    int clipFrequency = 22050;                          // samples per second
    ParamEqParameters tone;                             // the voice's tone boost
    int intervalMs = 1100;                              // one clip per reader tick
    std::string noise = "zaoyin";                       // the band noise's recording
    int noiseFrequency = 11025;                         // and its playback rate
};

// What acts on the received signal between the stations and the listener's ear: the
// band noise's level beyond its buffer's volume, each station's ionospheric path,
// and the receiver. Each change takes effect at the form-clock time it is made, like
// every other operation, and glides there. With nothing changed it is not there.
class ReceivedChannel {
public:
    virtual ~ReceivedChannel() = default;
    // The band noise's level such that the voice's mean power is `snrHundredthsDb`
    // above the noise's (the buffer at full volume). False when the powers cannot be
    // known (a recording missing); the level is then left as it was.
    virtual bool setSnr(int snrHundredthsDb, const SnrReference& reference) = 0;
    // No SNR: the band noise as its buffer's volume says.
    virtual bool clearSnr() = 0;
    // The band noise's level (its buffer's volume, hundredths of a dB) at which the
    // voice would be `snrHundredthsDb` above it; nullopt where the powers are unknown.
    virtual std::optional<int> noiseVolumeFor(int snrHundredthsDb, const SnrReference& reference) {
        (void)snrHundredthsDb;
        (void)reference;
        return std::nullopt;
    }
    // A station's path: a preset ("off", "good", ...), its fading drawn from `seed`;
    // false for an unknown preset or a bus that is no station.
    virtual bool setPath(Bus station, std::string_view preset, std::uint64_t seed) = 0;
    // The receiver: its SSB passband, and its AGC ("off", "fast", "medium", "slow").
    virtual bool setReceiver(bool passband, std::string_view agc) = 0;
};

class SoundDevice {
public:
    virtual ~SoundDevice() = default;
    // The channel between the stations and the listener, or null where there is none.
    virtual ReceivedChannel* channel() { return nullptr; }
    // A stopped buffer holding the whole WAVE resource `name` (matched without regard
    // to case), at position 0, volume 0 and the recorded frequency, sounding on `bus`;
    // null if missing.
    virtual std::shared_ptr<SoundBuffer> createBuffer(Bus bus, std::string_view name, std::uint32_t flags) = 0;
};

// The root object: opens the system's default output device.
class SoundPlatform {
public:
    virtual ~SoundPlatform() = default;
    // May hand back the current device while the default device is unchanged; null on failure.
    virtual std::shared_ptr<SoundDevice> openDefaultDevice() = 0;
};

}  // namespace tessaly
