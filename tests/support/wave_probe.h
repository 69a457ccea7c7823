#pragma once
// Reads the format and data chunks of a built-in WAVE recording, for tests
// that check the exact container layout the sound engine is handed.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <numbers>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/resource_store.h"

namespace tessaly::test {

struct WaveProbe {
  std::uint16_t formatTag = 0;  // 1: integer PCM
  std::uint16_t channels = 0;
  std::uint32_t rateHz = 0;
  std::uint16_t bitsPerSample = 0;
  std::span<const std::uint8_t> data;

  std::size_t frames() const { return bitsPerSample == 0 ? 0 : data.size() / (bitsPerSample / 8u) / channels; }
  double seconds() const { return rateHz == 0 ? 0 : static_cast<double>(frames()) / rateHz; }

  // Samples scaled to 16 bits: 8-bit unsigned (silence 128) or 16-bit signed.
  std::vector<int> samples() const {
    std::vector<int> out;
    out.reserve(frames());
    if (bitsPerSample == 8) {
      for (std::uint8_t b : data) out.push_back((static_cast<int>(b) - 128) * 256);
    } else {
      for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        out.push_back(static_cast<std::int16_t>(data[i] | (data[i + 1] << 8)));
      }
    }
    return out;
  }
};

inline std::uint32_t readLe(std::span<const std::uint8_t> bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[at + i];
  return value;
}

// Walks the RIFF chunks; empty if the bytes are not a WAVE file with both chunks.
inline std::optional<WaveProbe> probeWave(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    return std::nullopt;
  }
  WaveProbe probe;
  bool haveFormat = false, haveData = false;
  std::size_t at = 12;
  while (at + 8 <= bytes.size()) {
    const std::string_view id(reinterpret_cast<const char*>(bytes.data() + at), 4);
    const std::uint32_t size = readLe(bytes, at + 4, 4);
    const std::size_t body = at + 8;
    if (body + size > bytes.size()) return std::nullopt;
    if (id == "fmt " && size >= 16) {
      probe.formatTag = static_cast<std::uint16_t>(readLe(bytes, body, 2));
      probe.channels = static_cast<std::uint16_t>(readLe(bytes, body + 2, 2));
      probe.rateHz = readLe(bytes, body + 4, 4);
      probe.bitsPerSample = static_cast<std::uint16_t>(readLe(bytes, body + 14, 2));
      haveFormat = true;
    } else if (id == "data") {
      probe.data = bytes.subspan(body, size);
      haveData = true;
    }
    at = body + size + (size & 1u);  // chunks are padded to even lengths
  }
  if (!haveFormat || !haveData) return std::nullopt;
  return probe;
}

inline std::optional<WaveProbe> builtInWave(std::string_view name) {
  const auto bytes = findResource("WAVE", name);
  if (!bytes) return std::nullopt;
  return probeWave(*bytes);
}

// A mono WAVE file's samples at `rateHz`, scaled to -1..1; empty when it is none.
inline std::vector<double> waveFileSamples(const std::string& path, std::uint32_t rateHz = 48000) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  std::vector<double> out;
  const auto probe = probeWave(bytes);
  if (probe && probe->rateHz == rateHz && probe->channels == 1)
    for (int s : probe->samples()) out.push_back(s / 32768.0);
  return out;
}

// Mean power at `hz` over the whole blocks of s[from, to) (Goertzel's single-bin DFT), dB.
template <class Sample>
double blockPowerDb(const std::vector<Sample>& s, double hz, double rateHz, std::size_t block, std::size_t from = 0,
                    std::size_t to = SIZE_MAX) {
  const double k = 2 * std::cos(2 * std::numbers::pi * hz / rateHz);
  double total = 0;
  int blocks = 0;
  for (std::size_t a = from; a + block <= std::min(to, s.size()); a += block, ++blocks) {
    double s1 = 0, s2 = 0;
    for (std::size_t i = a; i < a + block; ++i) {
      const double s0 = s[i] + k * s1 - s2;
      s2 = s1;
      s1 = s0;
    }
    total += s1 * s1 + s2 * s2 - k * s1 * s2;
  }
  return 10 * std::log10(total / blocks + 1e-30);
}

}  // namespace tessaly::test
