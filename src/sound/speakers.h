#pragma once
// The built-in speakers: every word set said again in each of several synthetic
// voices, so that a learner meets more than one way of saying each word. The
// default (each set's own voice) is no speaker: its clips keep their plain names.
#include "sound/wave_lookup.h"

#include <span>
#include <string>
#include <string_view>

namespace tessaly {

enum class SpeakerGender { Male, Female };

struct Speaker {
    std::string_view name;         // short, for the command line: "awb"
    std::string_view description;  // one line for the window: "男声，苏格兰口音"
    SpeakerGender gender;
    std::string_view accent;       // "Scottish"
};

std::span<const Speaker> builtInSpeakers();

// The speaker of that name (exact), or null.
const Speaker* findSpeaker(std::string_view name);

// The resource name of clip `clip` ("301") as the speaker says it: "awb/301".
std::string speakerClipName(std::string_view speaker, std::string_view clip);

// Every clip in the speaker's voice, looked up in `waves`; a name the speaker
// has no clip of (the pause, the noise recordings) is looked up as it is.
WaveLookup speakerWaves(std::string_view speaker, WaveLookup waves = builtInWaves());

}  // namespace tessaly
