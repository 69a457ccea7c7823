#include "engine/wave_decoder.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>

namespace tessaly {
namespace {

// libsndfile reads the resource straight from the executable's memory through these.
struct MemoryFile {
    std::span<const std::uint8_t> bytes;
    sf_count_t position = 0;
};

sf_count_t memoryLength(void* user) { return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->bytes.size()); }

sf_count_t memorySeek(sf_count_t offset, int whence, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    const auto size = static_cast<sf_count_t>(file->bytes.size());
    sf_count_t target = offset;
    if (whence == SEEK_CUR) target = file->position + offset;
    if (whence == SEEK_END) target = size + offset;
    if (target < 0 || target > size) return -1;
    file->position = target;
    return target;
}

sf_count_t memoryRead(void* out, sf_count_t count, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    const auto size = static_cast<sf_count_t>(file->bytes.size());
    const sf_count_t n = std::clamp<sf_count_t>(size - file->position, 0, count);
    if (n > 0) std::memcpy(out, file->bytes.data() + file->position, static_cast<std::size_t>(n));
    file->position += n;
    return n;
}

sf_count_t memoryWrite(const void*, sf_count_t, void*) { return 0; }

sf_count_t memoryTell(void* user) { return static_cast<MemoryFile*>(user)->position; }

}  // namespace

namespace {

// Opens the bytes and checks the format; null with the reason.
SNDFILE* openChecked(MemoryFile& file, SF_INFO& info, std::string& error) {
    SF_VIRTUAL_IO io{memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
    SNDFILE* sf = sf_open_virtual(&io, SFM_READ, &info, &file);
    if (!sf) {
        error = sf_strerror(nullptr);
        return nullptr;
    }
    const int container = info.format & SF_FORMAT_TYPEMASK;
    const int encoding = info.format & SF_FORMAT_SUBMASK;
    if (container != SF_FORMAT_WAV && container != SF_FORMAT_WAVEX) {
        error = "not a WAVE file";
    } else if (encoding != SF_FORMAT_PCM_U8 && encoding != SF_FORMAT_PCM_16) {
        error = "not 8-bit unsigned or 16-bit signed PCM";
    } else if (info.channels != 1) {
        error = "not mono";
    } else if (info.samplerate <= 0) {
        error = "no sample rate";
    } else {
        return sf;
    }
    sf_close(sf);
    return nullptr;
}

}  // namespace

std::shared_ptr<const Wave> decodeWave(std::span<const std::uint8_t> bytes, std::string& error) {
    MemoryFile file{bytes};
    SF_INFO info{};
    SNDFILE* sf = openChecked(file, info, error);
    if (!sf) return nullptr;
    auto wave = std::make_shared<Wave>();
    wave->sampleRate = info.samplerate;
    wave->samples.resize(static_cast<std::size_t>(info.frames));
    // Normalised reads scale 16-bit by 1/32768 and centre 8-bit unsigned at 128.
    const sf_count_t got = sf_readf_float(sf, wave->samples.data(), info.frames);
    wave->samples.resize(static_cast<std::size_t>(std::max<sf_count_t>(got, 0)));
    sf_close(sf);
    return wave;
}

std::optional<WaveHeader> probeWave(std::span<const std::uint8_t> bytes, std::string& error) {
    MemoryFile file{bytes};
    SF_INFO info{};
    SNDFILE* sf = openChecked(file, info, error);
    if (!sf) return std::nullopt;
    sf_close(sf);
    return WaveHeader{info.samplerate, static_cast<std::size_t>(std::max<sf_count_t>(info.frames, 0))};
}

}  // namespace tessaly
