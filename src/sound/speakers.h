#pragma once
// The built-in speakers' clips as the engine finds them.
#include "base/speakers.h"
#include "sound/wave_lookup.h"

#include <string>
#include <string_view>

namespace tessaly {

// Every clip in the speaker's voice, looked up in `waves`; a name the speaker
// has no clip of (the pause, the noise recordings) is looked up as it is.
WaveLookup speakerWaves(std::string_view speaker, WaveLookup waves = builtInWaves());

}  // namespace tessaly
