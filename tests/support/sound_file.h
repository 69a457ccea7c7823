#pragma once
// Test recordings written through libsndfile, in any container and sample format.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <string>
#include <vector>

namespace tessaly::testing {

// `mono` copied to every channel; `format` is container | sample format.
inline void writeSoundFile(const std::string& path, int rate, int channels, int format, const std::vector<float>& mono) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_TRUE(f) << sf_strerror(nullptr);
    std::vector<float> frames;
    for (float s : mono) frames.insert(frames.end(), static_cast<std::size_t>(channels), s);
    sf_writef_float(f, frames.data(), static_cast<sf_count_t>(mono.size()));
    sf_close(f);
}

}  // namespace tessaly::testing
