#include "voices/voice_pack.h"

#include "sound/wave_bytes.h"

#include <samplerate.h>
#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

namespace tessaly {
namespace {

namespace fs = std::filesystem;

// A file longer than this is not read at all: no word needs a minute of silence.
constexpr double kLongestFileSeconds = 60.0;
constexpr int kLowestRate = 8000, kHighestRate = 192000;

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string seconds(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", s);
    return text;
}

// The file's sound as mono floats at the clips' rate, or a refusal.
PackRefusal readMono(const fs::path& path, int rate, std::vector<float>& mono, std::string& detail) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        detail = sf_strerror(nullptr);
        return PackRefusal::NotReadable;
    }
    struct Closer {
        SNDFILE* f;
        ~Closer() { sf_close(f); }
    } closer{file};
    const int container = info.format & SF_FORMAT_TYPEMASK;
    if (container != SF_FORMAT_WAV && container != SF_FORMAT_WAVEX && container != SF_FORMAT_RF64) {
        detail = "not a WAV file";
        return PackRefusal::NotReadable;
    }
    switch (info.format & SF_FORMAT_SUBMASK) {
        case SF_FORMAT_PCM_S8:
        case SF_FORMAT_PCM_U8:
        case SF_FORMAT_PCM_16:
        case SF_FORMAT_PCM_24:
        case SF_FORMAT_PCM_32:
        case SF_FORMAT_FLOAT:
        case SF_FORMAT_DOUBLE: break;
        default: detail = "compressed samples"; return PackRefusal::NotPcm;
    }
    if (info.samplerate < kLowestRate || info.samplerate > kHighestRate) {
        detail = std::to_string(info.samplerate) + " Hz";
        return PackRefusal::NotPcm;
    }
    if (info.channels != 1 && info.channels != 2) {
        detail = std::to_string(info.channels) + " channels";
        return PackRefusal::Channels;
    }
    if (info.frames <= 0) {
        detail = "empty";
        return PackRefusal::NoSound;
    }
    if (static_cast<double>(info.frames) / info.samplerate > kLongestFileSeconds) {
        detail = seconds(static_cast<double>(info.frames) / info.samplerate) + " before trimming";
        return PackRefusal::TooLong;
    }
    std::vector<float> frames(static_cast<std::size_t>(info.frames) * static_cast<std::size_t>(info.channels));
    const sf_count_t got = sf_readf_float(file, frames.data(), info.frames);
    if (got <= 0) {
        detail = "its samples cannot be read";
        return PackRefusal::NotReadable;
    }
    std::vector<float> input(static_cast<std::size_t>(got));
    for (std::size_t i = 0; i < input.size(); ++i)
        input[i] = info.channels == 1 ? frames[i] : 0.5f * (frames[2 * i] + frames[2 * i + 1]);
    if (info.samplerate == rate) {
        mono = std::move(input);
        return PackRefusal::None;
    }
    const double ratio = static_cast<double>(rate) / info.samplerate;
    mono.resize(static_cast<std::size_t>(static_cast<double>(input.size()) * ratio) + 16);
    SRC_DATA data{};
    data.data_in = input.data();
    data.input_frames = static_cast<long>(input.size());
    data.data_out = mono.data();
    data.output_frames = static_cast<long>(mono.size());
    data.src_ratio = ratio;
    if (const int error = src_simple(&data, SRC_SINC_BEST_QUALITY, 1); error != 0) {
        detail = src_strerror(error);
        return PackRefusal::NotReadable;
    }
    mono.resize(static_cast<std::size_t>(data.output_frames_gen));
    return PackRefusal::None;
}

}  // namespace

const std::vector<std::string>& spokenClipNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        char name[8];
        for (int set = 0; set < 4; ++set)
            for (int letter = 1; letter <= 26; ++letter) {
                std::snprintf(name, sizeof name, "%d%02d", set, letter);
                n.push_back(name);
            }
        for (int set = 0; set < 2; ++set)
            for (int digit = 0; digit <= 9; ++digit) n.push_back(std::to_string(set) + std::to_string(digit));
        for (const char* word : {"PORTABLE", "MOBILE", "QRP"}) n.push_back(word);
        return n;
    }();
    return names;
}

std::string refusalText(const PackClip& c) {
    switch (c.refusal) {
        case PackRefusal::None: return "";
        case PackRefusal::NotReadable: return "not a readable WAV file (" + c.detail + ")";
        case PackRefusal::NotPcm: return "not PCM or float samples at a common rate (" + c.detail + ")";
        case PackRefusal::Channels: return "neither mono nor stereo (" + c.detail + ")";
        case PackRefusal::NoSound: return "no sound in it (" + c.detail + ")";
        case PackRefusal::TooLong: return "too long: " + c.detail + ", at most 2 s after trimming";
    }
    return "";
}

std::string refusalTextZh(const PackClip& c) {
    switch (c.refusal) {
        case PackRefusal::None: return "";
        case PackRefusal::NotReadable: return "不是可读的 WAV 文件";
        case PackRefusal::NotPcm: return "不是常见采样率的 PCM 或浮点录音";
        case PackRefusal::Channels: return "不是单声道或立体声";
        case PackRefusal::NoSound: return "没有声音";
        case PackRefusal::TooLong: return "太长(" + c.detail + "),去掉首尾静音后最长 2 秒";
    }
    return "";
}

std::unique_ptr<VoicePack> VoicePack::load(const std::string& folder, std::string& error, const ConditioningRule& rule) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        error = fs::exists(folder, ec) ? "not a folder" : "no such folder";
        return nullptr;
    }
    // Files by name, sorted, so that the choice between two spellings of one clip is always the same.
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec)) files.push_back(it->path());
    if (ec) {
        error = ec.message();
        return nullptr;
    }
    std::sort(files.begin(), files.end());

    auto pack = std::unique_ptr<VoicePack>(new VoicePack);
    pack->folder_ = folder;
    pack->bytes_ = std::make_shared<std::map<std::string, std::vector<std::uint8_t>>>();
    std::map<std::string, std::size_t> index;
    for (const std::string& name : spokenClipNames()) {
        index[name] = pack->clips_.size();
        PackClip clip;
        clip.name = name;
        pack->clips_.push_back(std::move(clip));
    }
    for (const fs::path& path : files) {
        const std::string file = path.filename().string();
        const std::string stem = upper(path.stem().string());
        auto it = index.find(stem);
        if (upper(path.extension().string()) != ".WAV" || it == index.end()) {
            pack->warnings_.push_back(file + ": not the name of a clip; left alone");
            continue;
        }
        PackClip& clip = pack->clips_[it->second];
        if (!clip.file.empty()) {
            pack->warnings_.push_back(file + ": a second file for clip " + clip.name + "; " + clip.file + " is used");
            continue;
        }
        clip.file = file;
        std::vector<float> mono;
        clip.refusal = readMono(path, rule.rate, mono, clip.detail);
        if (clip.refusal != PackRefusal::None) continue;
        auto conditioned = conditionRecording(mono, rule);
        if (!conditioned) {
            clip.refusal = PackRefusal::NoSound;
            clip.detail = "silence only";
            continue;
        }
        clip.seconds = conditioned->seconds;
        clip.rmsDb = conditioned->rmsDb;
        clip.peakDb = conditioned->peakDb;
        if (conditioned->seconds > kLongestPackClipSeconds) {
            clip.refusal = PackRefusal::TooLong;
            clip.detail = seconds(conditioned->seconds);
            continue;
        }
        (*pack->bytes_)[clip.name] = pcmWaveBytes(rule.rate, 16, conditioned->samples);
    }
    return pack;
}

std::vector<const PackClip*> VoicePack::refused() const {
    std::vector<const PackClip*> out;
    for (const PackClip& c : clips_)
        if (c.refused()) out.push_back(&c);
    return out;
}

int VoicePack::foundCount() const {
    return static_cast<int>(std::count_if(clips_.begin(), clips_.end(), [](const PackClip& c) { return c.found(); }));
}

WaveLookup VoicePack::lookup(WaveLookup fallback) const {
    return [bytes = bytes_, fallback = std::move(fallback)](std::string_view name) -> std::optional<std::span<const std::uint8_t>> {
        if (auto it = bytes->find(upper(std::string(name))); it != bytes->end())
            return std::span<const std::uint8_t>(it->second);
        return fallback ? fallback(name) : std::nullopt;
    };
}

}  // namespace tessaly
