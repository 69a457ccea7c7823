#pragma once
// The recordings a sound engine has used: each WAVE resource decoded once, and each
// (recording, frequency) pair resampled to the output rate once. UI thread only.
#include "engine/rendition.h"
#include "engine/sound_outputs.h"
#include "engine/wave_decoder.h"

#include <cstdint>
#include <future>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace tessaly {

class WaveStore {
public:
    WaveStore(WaveLookup lookup, int outputRate);

    // The decoded recording of resource `name` (without regard to case), or null when
    // it is missing or cannot be decoded (said once per name on standard error).
    std::shared_ptr<const Wave> wave(std::string_view name);
    // Its header alone: what a buffer needs until the recording is first heard, so
    // a recording never played is never decoded. Null as wave() would be.
    std::optional<WaveHeader> header(std::string_view name);

    // The recording at `frequency`, resampled now unless a prefetch has done it
    // already (then it waits for that). Null with a reason on failure.
    std::shared_ptr<const Rendition> rendition(const std::string& key, const std::shared_ptr<const Wave>& wave,
                                               int frequency, std::string& error);

    // Starts resampling in the background when the rendition will take long to make
    // (long recordings: the noise loops), so that the first Play does not stall; only
    // where that is wanted (a live output: the UI thread must not wait for it).
    // Offline, a rendition is made when it is first heard, and only then.
    void prefetch(const std::string& key, int frequency);
    void setPrefetching(bool on) { prefetching_ = on; }

private:
    struct Made {
        std::shared_ptr<const Rendition> rendition;
        std::string error;
    };
    struct Entry {
        std::shared_future<Made> made;
        std::uint64_t lastUse = 0;
        std::size_t bytes = 0;
    };
    void evict();
    void report(const std::string& key, const std::string& error);

    WaveLookup lookup_;
    int outputRate_;
    std::map<std::string, std::shared_ptr<const Wave>> waves_;  // by lower-case name
    std::map<std::string, WaveHeader> headers_;
    std::map<std::string, bool> reported_;
    std::map<std::pair<std::string, int>, Entry> renditions_;
    std::uint64_t uses_ = 0;
    bool prefetching_ = false;
};

// Resource names match without regard to case.
std::string lowerCase(std::string_view name);

}  // namespace tessaly
