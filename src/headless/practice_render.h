#pragma once
// `tessaly render`: a whole practice to a WAV file and its answer key, for
// practice away from the desk. It sets the window's controls as a user would and
// runs the same logic and mixer in virtual time.
#include "base/practice_settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

struct RenderOptions {
    PracticeSettings settings;      // every option defaults to the window's setting
    double answerPauseSeconds = 4;  // grouped reading: stands in for each answer
    std::optional<std::uint64_t> seed;
    std::string outPath;
    std::string keyPath;
    std::string voicesPath;         // a voice pack in front of the built-in clips
};

std::optional<RenderOptions> parseRenderOptions(const std::vector<std::string>& args, std::string& error);

// The command as main() calls it; returns the exit status.
int renderCommand(const std::vector<std::string>& args);

}  // namespace tessaly
