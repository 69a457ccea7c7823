#pragma once
// The built-in speakers: every word set said again in each of several synthetic
// voices, so that a learner meets more than one way of saying each word. The
// default (each set's own voice) is no speaker: its clips keep their plain names.
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

// Their names, for a message: "awb, kal, rms, slt or slt-hts".
std::string speakerNames();

// The speaker of that name (exact), or null.
const Speaker* findSpeaker(std::string_view name);

// The resource name of clip `clip` ("301") as the speaker says it: "awb/301"; the clip
// itself for no speaker ("").
std::string speakerClipName(std::string_view speaker, std::string_view clip);

}  // namespace tessaly
