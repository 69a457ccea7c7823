#include "base/speakers.h"

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

std::string speakerNames() {
    std::string names;
    for (std::size_t i = 0; i < kSpeakers.size(); ++i)
        names += (i == 0 ? "" : i + 1 == kSpeakers.size() ? " or " : ", ") + std::string(kSpeakers[i].name);
    return names;
}

const Speaker* findSpeaker(std::string_view name) {
    for (const Speaker& speaker : kSpeakers) {
        if (speaker.name == name) return &speaker;
    }
    return nullptr;
}

std::string speakerClipName(std::string_view speaker, std::string_view clip) {
    if (speaker.empty()) return std::string(clip);
    std::string name(speaker);
    name += '/';
    name += clip;
    return name;
}

}  // namespace tessaly
