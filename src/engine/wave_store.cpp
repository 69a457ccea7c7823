#include "engine/wave_store.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace tessaly {
namespace {

// Renditions kept for reuse beyond those in use: the clips of a practice and both
// noise loops fit several times over.
constexpr std::size_t kCacheBytes = 64u << 20;

}  // namespace

std::string lowerCase(std::string_view name) {
    std::string s(name);
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

WaveStore::WaveStore(WaveLookup lookup, int outputRate) : lookup_(std::move(lookup)), outputRate_(outputRate) {}

std::shared_ptr<const Wave> WaveStore::wave(std::string_view name) {
    const std::string key = lowerCase(name);
    if (auto it = waves_.find(key); it != waves_.end()) return it->second;
    const auto bytes = lookup_ ? lookup_(name) : std::nullopt;
    if (!bytes) return nullptr;
    std::string error;
    auto decoded = decodeWave(*bytes, error);
    if (decoded && decoded->samples.empty()) {
        decoded = nullptr;
        error = "no samples";
    }
    if (!decoded) {
        report(key, error);
        return nullptr;
    }
    waves_.emplace(key, decoded);
    headers_[key] = WaveHeader{decoded->sampleRate, decoded->samples.size()};
    return decoded;
}

std::optional<WaveHeader> WaveStore::header(std::string_view name) {
    const std::string key = lowerCase(name);
    if (auto it = headers_.find(key); it != headers_.end()) return it->second;
    const auto bytes = lookup_ ? lookup_(name) : std::nullopt;
    if (!bytes) return std::nullopt;
    std::string error;
    auto header = probeWave(*bytes, error);
    if (header && header->frames == 0) {
        header.reset();
        error = "no samples";
    }
    if (!header) {
        report(key, error);
        return std::nullopt;
    }
    headers_.emplace(key, *header);
    return header;
}

void WaveStore::report(const std::string& key, const std::string& error) {
    if (!reported_[key]) std::fprintf(stderr, "tessaly: WAVE resource %s unusable: %s\n", key.c_str(), error.c_str());
    reported_[key] = true;
}

std::shared_ptr<const Rendition> WaveStore::rendition(const std::string& key, const std::shared_ptr<const Wave>& wave,
                                                      int frequency, std::string& error) {
    auto it = renditions_.find({key, frequency});
    if (it == renditions_.end()) {
        std::promise<Made> promise;
        Made made;
        made.rendition = makeRendition(*wave, frequency, outputRate_, made.error);
        promise.set_value(std::move(made));
        it = renditions_.emplace(std::make_pair(key, frequency), Entry{promise.get_future().share()}).first;
    }
    Entry& entry = it->second;
    entry.lastUse = ++uses_;
    const Made& made = entry.made.get();
    auto result = made.rendition;
    error = made.error;
    entry.bytes = result ? result->length * sizeof(float) : 0;
    if (!result) renditions_.erase(it);  // try again next time
    evict();
    return result;
}

void WaveStore::prefetch(const std::string& key, int frequency) {
    if (!prefetching_) return;
    const auto head = header(key);
    // Short recordings are quicker to resample than a thread is to start.
    if (!head || renditionLength(head->frames, frequency, outputRate_) < static_cast<std::size_t>(outputRate_)) return;
    if (renditions_.count({key, frequency})) return;
    auto wave = this->wave(key);
    if (!wave) return;
    const int rate = outputRate_;
    auto work = [wave, frequency, rate] {
        Made made;
        made.rendition = makeRendition(*wave, frequency, rate, made.error);
        return made;
    };
    renditions_.emplace(std::make_pair(key, frequency),
                        Entry{std::async(std::launch::async, std::move(work)).share(), ++uses_});
}

void WaveStore::evict() {
    std::size_t total = 0;
    for (const auto& [key, entry] : renditions_) total += entry.bytes;
    while (total > kCacheBytes) {
        auto oldest = renditions_.end();
        for (auto it = renditions_.begin(); it != renditions_.end(); ++it) {
            if (it->second.bytes && (oldest == renditions_.end() || it->second.lastUse < oldest->second.lastUse)) {
                oldest = it;
            }
        }
        if (oldest == renditions_.end()) return;
        total -= oldest->second.bytes;
        renditions_.erase(oldest);  // voices playing it keep their own reference
    }
}

}  // namespace tessaly
