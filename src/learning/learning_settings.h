#pragma once
// The small settings file, settings.json in the settings folder
// ($XDG_CONFIG_HOME/tessaly): whether the learning record is on and, while it is,
// what the window restores at its next start: the settings of the last practice
// and the drill.
//
//   {"record": true,
//    "practice": {"words": "exam", "speed": "5", "tone": "2500", "noise": "off", ...},
//    "drill": false}
//
// "practice" holds the fields of settingsFields() (base/practice_settings.h), by
// their names there, as texts. The file is written whole (a temporary file moved
// into place), so it is either the old one or the new one. A file that cannot be
// read costs one warning and gives the defaults: record off, nothing to restore.
// It is the program's own file: a symbolic link, a FIFO or a device in its place is
// refused (a warning), never read or written through.
// Names it does not know are passed over, so a later version's file still reads.
#include "base/practice_settings.h"

#include <optional>
#include <string>

namespace tessaly {

constexpr const char* kSettingsFileName = "settings.json";

struct LearningSettings {
    bool record = false;                          // the learning record is on
    std::optional<PracticeSettings> lastPractice;  // the settings of the last practice
    bool drill = false;                           // the drill of weak characters is on
    bool operator==(const LearningSettings&) const = default;
};

struct LoadedSettings {
    LearningSettings settings;
    std::string warning;  // "" when the file was read, or is not there
};

// settings.json in the user's settings folder; "" with a reason when there is no
// home folder. Touches nothing on disk.
std::string learningSettingsPath(std::string& error);

// Reads the file; creates nothing. A missing file gives the defaults without a warning.
LoadedSettings readLearningSettings(const std::string& path);

// Writes the file whole, creating its folders (0700). False with a reason, and the
// old file left as it was, when it cannot be written.
bool writeLearningSettings(const std::string& path, const LearningSettings& settings, std::string& error);

// Removes the file (the record turned off: nothing is remembered). True when it is
// gone or was never there; false with a reason.
bool removeLearningSettings(const std::string& path, std::string& error);

// The file's text, and back (for the tests): false with a reason for a damaged text.
std::string learningSettingsJson(const LearningSettings& settings);
bool parseLearningSettings(const std::string& text, LearningSettings& settings, std::string& error);

}  // namespace tessaly
