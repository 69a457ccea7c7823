// The WAV file output: the offline mixer's frames as 16-bit PCM, mono or stereo.
#include "engine/mixer.h"
#include "engine/offline_sound.h"

#include <sndfile.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace tessaly {
namespace {

class WavSink final : public FrameSink {
public:
    WavSink(SNDFILE* file, int channels) : file_(file), channels_(channels) {}
    ~WavSink() override {
        if (file_) sf_close(file_);
    }

    bool write(std::span<const float> mono) override {
        if (channels_ == 1) return sf_writef_float(file_, mono.data(), static_cast<sf_count_t>(mono.size())) ==
                                   static_cast<sf_count_t>(mono.size());
        stereo_.resize(mono.size() * 2);
        for (std::size_t i = 0; i < mono.size(); ++i) stereo_[2 * i] = stereo_[2 * i + 1] = mono[i];
        return sf_writef_float(file_, stereo_.data(), static_cast<sf_count_t>(mono.size())) ==
               static_cast<sf_count_t>(mono.size());
    }

    bool close(std::string& error) override {
        const int status = sf_close(file_);
        file_ = nullptr;
        if (status != 0) error = sf_error_number(status);
        return status == 0;
    }

private:
    SNDFILE* file_;
    int channels_;
    std::vector<float> stereo_;
};

}  // namespace

std::unique_ptr<OfflineSound> makeWavOutput(const std::string& path, OutputFormat format,
                                            std::function<std::int64_t()> nowMs, std::string& error,
                                            WaveLookup waves) {
    if (format.channels != 1 && format.channels != 2) {
        error = "a WAV output has 1 or 2 channels";
        return nullptr;
    }
    if (format.sampleRate < 8000 || format.sampleRate > 192000) {
        error = "a WAV output's sample rate is 8000 to 192000 Hz";
        return nullptr;
    }
    SF_INFO info{};
    info.samplerate = format.sampleRate;
    info.channels = format.channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    errno = 0;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        const int cause = errno;
        error = cause ? std::strerror(cause) : sf_strerror(nullptr);
        return nullptr;
    }
    // The mixer clips at full scale already; this keeps the conversion from wrapping.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    return makeOfflineSound(format.sampleRate, std::move(nowMs), std::make_unique<WavSink>(file, format.channels),
                            std::move(waves), kOutputHeadroomDb);
}

}  // namespace tessaly
