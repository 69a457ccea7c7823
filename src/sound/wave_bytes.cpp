#include "sound/wave_bytes.h"

#include <algorithm>
#include <cmath>

namespace tessaly {

std::vector<std::uint8_t> pcmWaveBytes(int rate, int bits, std::span<const float> samples, int channels) {
    const auto bytesPerSample = static_cast<std::uint32_t>(bits / 8);
    const auto dataBytes = static_cast<std::uint32_t>(samples.size()) * bytesPerSample;
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    auto text = [&](const char* s) { out.insert(out.end(), s, s + 4); };
    auto u32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i))); };
    auto u16 = [&](std::uint32_t v) { for (int i = 0; i < 2; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i))); };
    const auto ch = static_cast<std::uint32_t>(channels);
    text("RIFF"); u32(36 + dataBytes); text("WAVE");
    text("fmt "); u32(16); u16(1); u16(ch); u32(static_cast<std::uint32_t>(rate));
    u32(static_cast<std::uint32_t>(rate) * ch * bytesPerSample); u16(ch * bytesPerSample); u16(static_cast<std::uint32_t>(bits));
    text("data"); u32(dataBytes);
    for (float s : samples) {
        if (bits == 8) {
            out.push_back(static_cast<std::uint8_t>(std::lround(std::clamp(s * 128.0f + 128.0f, 0.0f, 255.0f))));
        } else {
            u16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(std::clamp(s * 32768.0f, -32768.0f, 32767.0f)))));
        }
    }
    return out;
}

}  // namespace tessaly
