#pragma once
// `tessaly render`: a whole practice to a WAV file and its answer key, for
// practice away from the desk. It sets the window's controls as a user would and
// runs the same logic and mixer in virtual time.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

struct RenderOptions {
    int groups = 20;
    bool library = false;          // --source library
    int wordSet = 4;               // member of the word-set group: 4 exam, 0 standard, 1 places, 2 other, 3 mixed
    int speed = 5;                 // 0 (fast) .. 10 (slow)
    int tone = 2500;               // Hz, 80 .. 5000
    int noiseLevel = 0;            // 0 off, 1..5 for S1..S5
    bool qrn = false, qrm = false, qsb = false;
    bool varyNoise = false, varySpeed = false, varyTone = false;
    bool continuous = false;
    double answerPauseSeconds = 4; // grouped reading: stands in for each answer
    std::optional<std::uint64_t> seed;
    std::string outPath;
    std::string keyPath;
    std::string voicesPath;        // a voice pack in front of the built-in clips
};

std::optional<RenderOptions> parseRenderOptions(const std::vector<std::string>& args, std::string& error);

// The command as main() calls it; returns the exit status.
int renderCommand(const std::vector<std::string>& args);

}  // namespace tessaly
