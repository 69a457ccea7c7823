#include "voices/voice_pack.h"

#include "base/file_kind.h"
#include "sound/wave_bytes.h"

#include <soxr.h>
#include <sndfile.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace tessaly {
namespace {

namespace fs = std::filesystem;

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

// What a directory entry that is not a regular file is, for a refusal (a pack
// is a folder of files, so a directory in it is called a folder).
const char* kindOf(mode_t mode) { return S_ISDIR(mode) ? "a folder" : fileKind(mode); }

// The file opened for reading, when it is a regular one. Opened without waiting,
// so that a FIFO cannot hold the load up, and looked at once open, so that what
// is read is what was looked at.
int openRegular(const fs::path& path, PackRefusal& refusal, std::string& detail) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int cause = errno;
        struct stat link {};
        refusal = PackRefusal::NotAFile;
        if (cause == ELOOP) detail = "a loop of symbolic links";
        else if (cause == ENOENT && ::lstat(path.c_str(), &link) == 0) detail = "a symbolic link to nothing";
        else {
            refusal = PackRefusal::NotReadable;
            detail = std::strerror(cause);
        }
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        refusal = PackRefusal::NotAFile;
        detail = kindOf(st.st_mode);
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// The file's sound as mono floats at the clips' rate, or a refusal.
PackRefusal readMono(const fs::path& path, int rate, std::vector<float>& mono, std::string& detail) {
    PackRefusal refusal = PackRefusal::None;
    const int fd = openRegular(path, refusal, detail);
    if (fd < 0) return refusal;
    SF_INFO info{};
    SNDFILE* file = sf_open_fd(fd, SFM_READ, &info, SF_TRUE);
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
    if (static_cast<double>(info.frames) / info.samplerate > kLongestPackFileSeconds) {
        detail = seconds(static_cast<double>(info.frames) / info.samplerate);
        return PackRefusal::TooLongFile;
    }
    std::vector<float> frames(static_cast<std::size_t>(info.frames) * static_cast<std::size_t>(info.channels));
    const sf_count_t got = sf_readf_float(file, frames.data(), info.frames);
    if (got <= 0) {
        detail = "its samples cannot be read";
        return PackRefusal::NotReadable;
    }
    const auto samples = static_cast<std::size_t>(got) * static_cast<std::size_t>(info.channels);
    const auto end = frames.begin() + static_cast<std::ptrdiff_t>(samples);
    if (const auto bad = std::find_if(frames.begin(), end, [](float x) { return !std::isfinite(x); }); bad != end) {
        char text[64];
        std::snprintf(text, sizeof text, "%s at %.3f s", std::isnan(*bad) ? "NaN" : *bad > 0 ? "+Inf" : "-Inf",
                      static_cast<double>((bad - frames.begin()) / info.channels) / info.samplerate);
        detail = text;
        return PackRefusal::NotFinite;
    }
    std::vector<float> input(static_cast<std::size_t>(got));
    for (std::size_t i = 0; i < input.size(); ++i)
        input[i] = info.channels == 1 ? frames[i] : 0.5f * (frames[2 * i] + frames[2 * i + 1]);
    if (info.samplerate == rate) {
        mono = std::move(input);
        return PackRefusal::None;
    }
    // The engine's resampler, at its best quality: a pack's clip is resampled once.
    const double ratio = static_cast<double>(rate) / info.samplerate;
    mono.resize(static_cast<std::size_t>(std::ceil(static_cast<double>(input.size()) * ratio)) + 16);
    std::size_t made = 0;
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_VHQ, 0);
    if (const soxr_error_t error = soxr_oneshot(info.samplerate, rate, 1, input.data(), input.size(), nullptr, mono.data(),
                                                mono.size(), &made, nullptr, &quality, nullptr)) {
        detail = error;
        return PackRefusal::NotReadable;
    }
    mono.resize(made);
    return PackRefusal::None;
}

}  // namespace

bool isClipFileName(const std::string& fileName) {
    const fs::path path(fileName);
    if (upper(path.extension().string()) != ".WAV") return false;
    const auto& names = spokenClipNames();
    return std::find(names.begin(), names.end(), upper(path.stem().string())) != names.end();
}

std::string refusalText(const PackClip& c) {
    switch (c.refusal) {
        case PackRefusal::None: return "";
        case PackRefusal::NotAFile: return "not a regular file: " + c.detail;
        case PackRefusal::NotReadable: return "not a readable WAV file (" + c.detail + ")";
        case PackRefusal::NotPcm: return "not PCM or float samples at a common rate (" + c.detail + ")";
        case PackRefusal::NotFinite: return "a sample that is not a finite number: " + c.detail;
        case PackRefusal::Channels: return "neither mono nor stereo (" + c.detail + ")";
        case PackRefusal::NoSound: return "no sound in it (" + c.detail + ")";
        case PackRefusal::TooLongFile:
            return "too long: " + c.detail + " before trimming; a file of more than " + seconds(kLongestPackFileSeconds) +
                   " is not read";
        case PackRefusal::TooLong: return "too long: " + c.detail + ", at most 2 s after trimming";
    }
    return "";
}

std::string refusalTextZh(const PackClip& c) {
    switch (c.refusal) {
        case PackRefusal::None: return "";
        case PackRefusal::NotAFile: return "不是可读的文件";
        case PackRefusal::NotReadable: return "不是可读的 WAV 文件";
        case PackRefusal::NotPcm: return "不是常见采样率的 PCM 或浮点录音";
        case PackRefusal::NotFinite: return "有无效的采样值（无穷大或非数）";
        case PackRefusal::Channels: return "不是单声道或立体声";
        case PackRefusal::NoSound: return "没有声音";
        case PackRefusal::TooLongFile: return "文件太长（" + c.detail + "），最长 10 秒";
        case PackRefusal::TooLong: return "太长（" + c.detail + "），去掉首尾静音后最长 2 秒";
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
    // Every entry named for a clip, whatever it is, so that one that cannot be used
    // is named with the reason; other regular files draw a warning.
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (isClipFileName(it->path().filename().string()) || it->is_regular_file(typeError)) files.push_back(it->path());
    }
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
        // The pack's recording of a clip comes first whoever's voice was asked for:
        // "awb/301" is the pack's 301 when it has one.
        const std::string_view clip = name.substr(name.find('/') == std::string_view::npos ? 0 : name.find('/') + 1);
        if (auto it = bytes->find(upper(std::string(clip))); it != bytes->end())
            return std::span<const std::uint8_t>(it->second);
        return fallback ? fallback(name) : std::nullopt;
    };
}

}  // namespace tessaly
