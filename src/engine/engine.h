#pragma once
// The UI-thread side of the sound engine: the sound platform's objects (device,
// buffers, equalisers) turn their calls into mixer commands here. One Engine serves
// one output; it lives as long as anything made from it (platform, device, buffer or
// equaliser) is held.
#include "engine/mixer.h"
#include "engine/sound_outputs.h"
#include "engine/wave_store.h"

#include <memory>
#include <vector>

namespace tessaly {

// What drives the mixer's rendering.
class Output {
public:
    virtual ~Output() = default;
    // Called first in every platform operation, on the UI thread. The offline output
    // renders up to the virtual clock here; a real-time output has nothing to do.
    virtual void beforeOperation() {}
    // The output frame an operation issued now takes effect on (0: the next frame the
    // mixer renders). Offline, the frame of the virtual clock; live, the frame the
    // form clock maps to, a scheduling latency ahead.
    virtual std::int64_t stampFrame() { return 0; }
    // A command went into the mixer's queue (UI thread): a resting output wakes.
    virtual void commandQueued() {}
    // Ends rendering for good. True when no thread renders any more (voices may then
    // be freed); false when a rendering thread could not be stopped in time.
    virtual bool stop() = 0;
};

class Engine : public std::enable_shared_from_this<Engine> {
public:
    Engine(std::shared_ptr<Mixer> mixer, WaveLookup waves);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    void setOutput(std::shared_ptr<Output> output) { output_ = std::move(output); }
    Mixer& mixer() { return *mixer_; }
    WaveStore& store() { return store_; }
    SoundPlatform& platform();

    // First step of every operation: hands over commands that did not fit into the
    // queue before, lets the output catch up, and frees voices the mixer is done with.
    void beginOperation();
    // The two parts of beginOperation that do not render: commands that waited for
    // room go into the queue; voices the mixer is done with are freed.
    void handOverPending();
    void freeFinished();
    // Never blocks: when the queue is full the command waits here, in order. Every
    // command is stamped with the output's frame for now.
    void send(Voice& voice, Command command);
    // A change of the channel stage, stamped and queued like a voice's commands.
    void sendChannel(const ChannelChange& change);
    // A new voice on `bus`, known to the mixer but silent; null when kMaxVoices are alive.
    Voice* newVoice(Bus bus);
    // Gives the voice another rendition; keeps the replaced one until the mixer has
    // let go of it.
    void setRendition(Voice& voice, std::shared_ptr<const Rendition> rendition);
    // Gives the voice a pass of `length` frames without any: it keeps its place as it
    // plays, silently, until frames come (a loop made inaudible costs no resampling).
    void setSilentRendition(Voice& voice, std::size_t length);

private:
    class Platform;
    void queue(Command command);

    std::shared_ptr<Mixer> mixer_;
    WaveStore store_;
    std::shared_ptr<Output> output_;
    std::unique_ptr<Platform> platform_;
    std::vector<std::unique_ptr<Voice>> voices_;  // every voice not yet freed
    std::vector<Command> pending_;                // commands waiting for room in the queue
};

}  // namespace tessaly
