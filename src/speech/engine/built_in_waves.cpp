#include "resources/resource_store.h"
#include "speech/engine/sound_outputs.h"

namespace tessaly {

WaveLookup builtInWaves() {
    return [](std::string_view name) { return findResource("WAVE", name); };
}

}  // namespace tessaly
