#pragma once
// One sounding buffer as the mixer sees it, and the commands that change it.
//
// A Voice is allocated and freed on the UI thread only. Between the Add command and
// the moment the mixer hands it back (see Mixer::takeFinished) the rendering thread
// owns its "render side" fields; the UI thread only reads the two atomics.
#include "engine/channel_change.h"
#include "engine/peaking_eq.h"
#include "engine/rendition.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace tessaly {

struct Voice {
    // --- render side: touched only by the thread that renders ---
    const float* frames = nullptr;  // the current rendition's frames, at the output rate
    std::size_t length = 0;         // frames in one pass
    std::size_t position = 0;       // next frame to play; kept by Stop
    bool playing = false;
    bool looping = false;
    bool released = false;  // its buffer is gone: it plays out its once-play, then retires
    std::uint32_t playSeq = 0;
    Bus bus = Bus::Reader;    // where the channel stage takes its sound
    float gain = 1.0f;        // linear amplitude now
    float targetGain = 1.0f;  // linear amplitude asked for
    float gainStep = 0.0f;    // per frame while ramping
    int rampLeft = 0;         // frames still ramping
    bool eqOn = false;
    bool eqDirty = false;
    ParamEqParameters eqParams;
    PeakingEq eq;

    // --- shared: written by the rendering thread, read by the UI thread ---
    // playSeq of the last once-play that reached its end (then the voice stopped and
    // rewound to its start).
    std::atomic<std::uint32_t> endedPlay{0};
    // How many of this voice's commands have been applied (see Command::count).
    std::atomic<std::uint32_t> applied{0};

    // --- UI side: touched only by the UI thread ---
    std::uint32_t sent = 0;  // commands sent for this voice
    // Renditions the rendering thread may still read: the current one, and each one
    // replaced by the command numbered `first` until that command is applied.
    std::shared_ptr<const Rendition> rendition;
    std::vector<std::pair<std::uint32_t, std::shared_ptr<const Rendition>>> replaced;
};

// A change the mixer applies on the output frame `frame` (see Mixer::render); every
// command but Channel is about one voice.
struct Command {
    enum class Kind : std::uint8_t {
        Add,        // the mixer starts to know the voice (stopped); bus = where it sounds
        Play,       // looping = flag; seq = the play's number
        Stop,       // keeps the position
        Volume,     // gain = linear amplitude
        Rendition,  // frames/length: play at another frequency from the same point in the recording
        Eq,         // flag = the equaliser is in the path; eq = its parameters
        Release,    // the buffer is gone
        Channel,    // change = what changes in the channel stage; no voice
    };
    Command() = default;
    explicit Command(Kind k) : kind(k) {}

    Kind kind = Kind::Add;
    bool flag = false;
    Bus bus = Bus::Reader;
    // The output frame this takes effect on; one already rendered means at once.
    std::int64_t frame = 0;
    Voice* voice = nullptr;
    std::uint32_t count = 0;  // this command's number among the voice's commands
    std::uint32_t seq = 0;
    float gain = 0.0f;
    const float* frames = nullptr;
    std::size_t length = 0;
    ParamEqParameters eq;
    ChannelChange change;
};

}  // namespace tessaly
