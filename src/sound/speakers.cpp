#include "sound/speakers.h"

namespace tessaly {

WaveLookup speakerWaves(std::string_view speaker, WaveLookup waves) {
    return [prefix = std::string(speaker), waves = std::move(waves)](std::string_view name) {
        if (auto own = waves(speakerClipName(prefix, name))) return own;
        return waves(name);
    };
}

}  // namespace tessaly
