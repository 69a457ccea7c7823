#include "sound/wave_lookup.h"

#include "base/resource_store.h"

namespace tessaly {

WaveLookup builtInWaves() {
    return [](std::string_view name) { return findResource("WAVE", name); };
}

}  // namespace tessaly
