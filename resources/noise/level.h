#pragma once
// Levels and sample formats shared by the noise recordings. Full scale is 1.0.
#include <cstdint>
#include <vector>

namespace tessaly::noise {

class NoiseRandom;

// Scales so that the RMS is rmsDbfs, or lower if the peak would pass peakDbfs.
void scaleToLevel(std::vector<double>& samples, double rmsDbfs, double peakDbfs);

// Scales so that the largest magnitude is peakDbfs.
void scaleToPeak(std::vector<double>& samples, double peakDbfs);

// Rounds to 16-bit samples (the noise itself is dither enough).
std::vector<std::int16_t> quantise16(const std::vector<double>& samples);

// Rounds to 8-bit steps with triangular dither of one step, so that quiet
// tails fade into a faint hiss rather than into harsh granular distortion.
// The result is in 16-bit units (the 8-bit value times 256), the form in which
// libsndfile writes 8-bit PCM exactly.
std::vector<std::int16_t> quantise8(const std::vector<double>& samples, NoiseRandom& random);

}  // namespace tessaly::noise
