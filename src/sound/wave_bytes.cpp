#include "sound/wave_bytes.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tessaly {

std::vector<std::uint8_t> pcmWaveBytes(int rate, int bits, std::span<const float> samples, int channels) {
    const auto bytesPerSample = static_cast<std::uint32_t>(bits / 8);
    const auto dataBytes = static_cast<std::uint32_t>(samples.size()) * bytesPerSample;
    // The header goes into a fixed array first: growing the vector four bytes at a
    // time from string literals trips GCC 12's -Wstringop-overflow on a false alarm.
    std::array<std::uint8_t, 44> header{};
    std::size_t at = 0;
    auto text = [&](const char* s) { for (int i = 0; i < 4; ++i) header[at++] = static_cast<std::uint8_t>(s[i]); };
    auto u32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) header[at++] = static_cast<std::uint8_t>(v >> (8 * i)); };
    auto u16 = [&](std::uint32_t v) { for (int i = 0; i < 2; ++i) header[at++] = static_cast<std::uint8_t>(v >> (8 * i)); };
    const auto ch = static_cast<std::uint32_t>(channels);
    text("RIFF"); u32(36 + dataBytes); text("WAVE");
    text("fmt "); u32(16); u16(1); u16(ch); u32(static_cast<std::uint32_t>(rate));
    u32(static_cast<std::uint32_t>(rate) * ch * bytesPerSample); u16(ch * bytesPerSample); u16(static_cast<std::uint32_t>(bits));
    text("data"); u32(dataBytes);

    std::vector<std::uint8_t> out;
    out.reserve(header.size() + dataBytes);
    out.assign(header.begin(), header.end());
    for (float s : samples) {
        if (bits == 8) {
            out.push_back(static_cast<std::uint8_t>(std::lround(std::clamp(s * 128.0f + 128.0f, 0.0f, 255.0f))));
        } else {
            const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(std::clamp(s * 32768.0f, -32768.0f, 32767.0f))));
            out.push_back(static_cast<std::uint8_t>(v));
            out.push_back(static_cast<std::uint8_t>(v >> 8));
        }
    }
    return out;
}

}  // namespace tessaly
