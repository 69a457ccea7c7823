#pragma once
// Brings a recorded word to the form every spoken clip of the program has: mono at
// 22050 Hz, trimmed to the word, at one common loudness. The built-in voices go
// through this same function at build time (resources/voices/make_clip.cpp, run by
// make_clips.sh after the synthesiser, which also speeds long words up and pads
// short ones); a voice pack that a user records goes through it at load.
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tessaly {

struct ConditioningRule {
    int rate = 22050;             // frames per second of the clips
    int levelWindow = 110;        // frames (5 ms) over which a level is an RMS
    double soundDb = -50;         // a window this far under the peak, or louder, is sound
    int preroll = 154;            // frames kept before the first sound (7 ms)
    int postroll = 551;           // frames kept after the last sound (25 ms)
    int fadeIn = 44;              // frames (2 ms)
    int fadeOut = 331;            // frames (15 ms)
    double targetRmsDb = -17;     // dBFS of the trimmed clip
    double peakCapDb = -1;        // dBFS: the peak decides where the RMS target would pass it
};

struct ConditionedClip {
    std::vector<float> samples;  // mono, at the rule's rate
    double seconds = 0;
    double rmsDb = 0, peakDb = 0;  // after the gain
};

// Trims and levels a mono recording at the rule's rate. Nothing when it holds no
// sound at all (no window reaches soundDb under its peak, or it is digital silence).
std::optional<ConditionedClip> conditionRecording(std::span<const float> mono, const ConditioningRule& rule = {});

}  // namespace tessaly
