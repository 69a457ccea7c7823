#pragma once
// --voices DIR for the headless commands: the pack in front of the built-in clips.
#include "sound/wave_lookup.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

// The built-in clips when `folder` is empty; otherwise the pack's clips in front of
// them. Warnings go to `err`; when the folder cannot be read or a file is refused,
// each problem is said there (naming the file) and nothing is returned: the
// command then ends with status 2.
std::optional<WaveLookup> wavesWithVoicePack(const std::string& command, const std::string& folder, std::ostream& err);

// The files of the pack in `folder` that a command reads (none when `folder` is
// empty), for keeping its outputs off them.
std::vector<std::string> voicePackInputs(const std::string& folder);

}  // namespace tessaly
