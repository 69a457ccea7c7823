#include "speech/engine/sound_outputs.h"

#include "resources/resource_store.h"

namespace tessaly {
WaveLookup builtInWaves() {
    return [](std::string_view name) { return findResource("WAVE", name); };
}
std::unique_ptr<OfflineSound> makeWavOutput(const std::string&, OutputFormat, std::function<std::int64_t()>,
                                            std::string& error, WaveLookup) {
    error = "WAV output is not available in this build";
    return nullptr;
}
std::unique_ptr<LiveSound> openLiveSound(WaveLookup) { return nullptr; }
}  // namespace tessaly
