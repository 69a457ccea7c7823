#include "sound/speakers.h"

#include <array>

namespace tessaly {

namespace {

// Each made at build time from resources/voices/speakers/<name>.txt.
constexpr std::array kSpeakers{
    Speaker{"awb", "男声，苏格兰口音", SpeakerGender::Male, "Scottish"},
    Speaker{"kal", "男声，美国口音", SpeakerGender::Male, "American"},
    Speaker{"rms", "男声，美国口音，声音低沉", SpeakerGender::Male, "American"},
    Speaker{"slt", "女声，美国口音", SpeakerGender::Female, "American"},
    Speaker{"slt-hts", "女声，美国口音，语调较自然", SpeakerGender::Female, "American"},
};

}  // namespace

std::span<const Speaker> builtInSpeakers() { return kSpeakers; }

const Speaker* findSpeaker(std::string_view name) {
    for (const Speaker& speaker : kSpeakers) {
        if (speaker.name == name) return &speaker;
    }
    return nullptr;
}

std::string speakerClipName(std::string_view speaker, std::string_view clip) {
    std::string name(speaker);
    name += '/';
    name += clip;
    return name;
}

WaveLookup speakerWaves(std::string_view speaker, WaveLookup waves) {
    return [prefix = std::string(speaker), waves = std::move(waves)](std::string_view name) {
        if (auto own = waves(speakerClipName(prefix, name))) return own;
        return waves(name);
    };
}

}  // namespace tessaly
