// The WAV file output: the offline mixer's frames as 16-bit PCM, mono or stereo.
#include "engine/wav_output.h"

#include "base/output_file.h"
#include "base/output_room.h"
#include "engine/mixer.h"

#include <sndfile.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace tessaly {
namespace {

constexpr std::uint64_t kBytesPerSample = 2;
constexpr std::uint64_t kPlainWavHeaderBytes = 44;

SNDFILE* openForWriting(const std::string& path, OutputFormat format, int container, std::string& error) {
    SF_INFO info{};
    info.samplerate = format.sampleRate;
    info.channels = format.channels;
    info.format = container | SF_FORMAT_PCM_16;
    errno = 0;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        const int cause = errno;
        error = cause ? std::strerror(cause) : sf_strerror(nullptr);
        return nullptr;
    }
    // The mixer clips at full scale already; this keeps the conversion from wrapping.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    return file;
}

class WavSink final : public FrameSink {
public:
    WavSink(SNDFILE* file, std::string path, OutputFormat format, const WavLimits& limits)
        : file_(file), path_(std::move(path)), format_(format), limits_(limits) {}
    ~WavSink() override {
        if (file_) sf_close(file_);
    }

    bool write(std::span<const float> mono) override {
        if (!failure_.empty() || !file_) return false;
        const std::uint64_t bytes = mono.size() * format_.channels * kBytesPerSample;
        if (written_ + bytes > limits_.longestDataBytes)
            return fail("the sound is longer than a WAV output may be (" +
                        std::to_string(kLongestWavSeconds / 3600) + " hours, " +
                        byteSize(limits_.longestDataBytes) + ")");
        if (!rf64_ && written_ + bytes > limits_.plainDataBytes && !goOnAsRf64()) return false;
        const float* frames = mono.data();
        if (format_.channels == 2) {
            stereo_.resize(mono.size() * 2);
            for (std::size_t i = 0; i < mono.size(); ++i) stereo_[2 * i] = stereo_[2 * i + 1] = mono[i];
            frames = stereo_.data();
        }
        errno = 0;
        const auto count = static_cast<sf_count_t>(mono.size());
        if (sf_writef_float(file_, frames, count) != count) return fail(writeFailure(errno));
        written_ += bytes;
        return true;
    }

    bool close(std::string& error) override {
        const int status = file_ ? sf_close(file_) : 0;
        file_ = nullptr;
        if (!failure_.empty()) error = failure_;
        else if (status != 0) error = sf_error_number(status);
        return failure_.empty() && status == 0;
    }

private:
    bool fail(std::string why) {
        failure_ = std::move(why);
        return false;
    }

    std::string writeFailure(int cause) const {
        if (cause == ENOSPC)
            return "its file system is full (" + byteSize(written_) + " of sound written)";
        if (cause == EFBIG)
            return "the file reached the largest this process may write (ulimit -f), at " + byteSize(written_);
        return cause ? std::strerror(cause) : sf_strerror(file_);
    }

    // The data so far goes into an RF64 file beside this one, which then takes its
    // place (the open file stays the same) and takes the rest.
    bool goOnAsRf64() {
        sf_close(file_);
        file_ = nullptr;
        std::string error;
        const auto next = OutputFile::create(path_, error);
        if (!next) return fail("cannot go on as RF64 past 4 GiB: " + error);
        SNDFILE* out = openForWriting(next->temporaryPath(), format_, SF_FORMAT_RF64, error);
        if (!out) return fail("cannot go on as RF64 past 4 GiB: " + error);
        SF_INFO info{};
        SNDFILE* in = sf_open(path_.c_str(), SFM_READ, &info);
        if (!in) {
            sf_close(out);
            return fail(std::string("cannot read back what was written: ") + sf_strerror(nullptr));
        }
        std::vector<short> block(std::size_t{1} << 16);
        const sf_count_t frames = static_cast<sf_count_t>(block.size()) / format_.channels;
        bool copied = true;
        for (sf_count_t n; copied && (n = sf_readf_short(in, block.data(), frames)) > 0;) {
            errno = 0;
            copied = sf_writef_short(out, block.data(), n) == n;
        }
        const int cause = errno;
        sf_close(in);
        if (!copied) {
            sf_close(out);
            return fail("cannot go on as RF64 past 4 GiB: " + writeFailure(cause));
        }
        if (!next->commit(error)) {
            sf_close(out);
            return fail("cannot go on as RF64 past 4 GiB: " + error);
        }
        file_ = out;
        rf64_ = true;
        return true;
    }

    SNDFILE* file_;
    std::string path_;
    OutputFormat format_;
    WavLimits limits_;
    std::uint64_t written_ = 0;  // data bytes
    bool rf64_ = false;
    std::string failure_;
    std::vector<float> stereo_;
};

}  // namespace

std::uint64_t wavFileBytes(std::int64_t ms, OutputFormat format) {
    const auto frames = static_cast<std::uint64_t>(frameAtMs(std::max<std::int64_t>(ms, 0), format.sampleRate));
    return kPlainWavHeaderBytes + frames * static_cast<std::uint64_t>(format.channels) * kBytesPerSample;
}

std::unique_ptr<FrameSink> openWavFile(const std::string& path, OutputFormat format, const WavLimits& limits,
                                       std::string& error) {
    if (format.channels != 1 && format.channels != 2) {
        error = "a WAV output has 1 or 2 channels";
        return nullptr;
    }
    if (format.sampleRate < 8000 || format.sampleRate > 192000) {
        error = "a WAV output's sample rate is 8000 to 192000 Hz";
        return nullptr;
    }
    SNDFILE* file = openForWriting(path, format, SF_FORMAT_WAV, error);
    if (!file) return nullptr;
    WavLimits kept = limits;
    if (kept.longestDataBytes == 0) kept.longestDataBytes = wavFileBytes(kLongestWavSeconds * 1000, format) - kPlainWavHeaderBytes;
    return std::make_unique<WavSink>(file, path, format, kept);
}

std::unique_ptr<OfflineSound> makeWavOutput(const std::string& path, OutputFormat format,
                                            std::function<std::int64_t()> nowMs, std::string& error,
                                            WaveLookup waves) {
    auto sink = openWavFile(path, format, {}, error);
    if (!sink) return nullptr;
    return makeOfflineSound(format.sampleRate, std::move(nowMs), std::move(sink), std::move(waves), kOutputHeadroomDb);
}

}  // namespace tessaly
