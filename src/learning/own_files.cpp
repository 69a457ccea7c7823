#include "learning/own_files.h"

#include "base/output_file.h"
#include "learning/learning_record.h"
#include "learning/learning_settings.h"

namespace tessaly {
namespace {

std::string recordPath() {
    std::string error;
    return LearningRecord::atDataFolder(error).path();
}

std::string settingsPath() {
    std::string error;
    return learningSettingsPath(error);
}

}  // namespace

OwnFile ownFileAt(const std::string& path) {
    if (const std::string record = recordPath(); !record.empty() && sameFile(path, record)) return OwnFile::record;
    if (const std::string settings = settingsPath(); !settings.empty() && sameFile(path, settings)) return OwnFile::settings;
    return OwnFile::none;
}

std::string ownFileDescription(OwnFile file) {
    switch (file) {
        case OwnFile::record: return "the learning record (" + recordPath() + ")";
        case OwnFile::settings: return "the learning record's settings file (" + settingsPath() + ")";
        case OwnFile::none: break;
    }
    return "";
}

}  // namespace tessaly
