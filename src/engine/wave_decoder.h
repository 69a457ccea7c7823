#pragma once
// Decoding the program's WAVE resources: PCM mono, 8-bit unsigned or 16-bit signed.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tessaly {

// A decoded recording: one float sample per frame in [-1, 1), immutable once made
// and shared by every buffer made from the same resource.
struct Wave {
    int sampleRate = 0;          // frames per second as recorded
    std::vector<float> samples;  // mono
};

// What a recording's header says, read without decoding a sample.
struct WaveHeader {
    int sampleRate = 0;      // frames per second as recorded
    std::size_t frames = 0;  // as the header counts them
};

// The whole recording, or null with the reason in `error` when the bytes are not a
// WAVE file libsndfile can read, or not PCM mono 8- or 16-bit.
std::shared_ptr<const Wave> decodeWave(std::span<const std::uint8_t> bytes, std::string& error);
// The header alone, checked as decodeWave checks it; nullopt with the reason.
std::optional<WaveHeader> probeWave(std::span<const std::uint8_t> bytes, std::string& error);

}  // namespace tessaly
