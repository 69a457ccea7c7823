#pragma once
// The settings of a practice beside the controls that set them: for each setting of
// the vocabulary (base/practice_settings.h), what its control says as the setting,
// and how a user brings the control to a value. One table serves reading the
// settings (the record, the results file, the dump), applying them (render, a
// restored practice) and the checks of both.
#include "base/practice_settings.h"

#include <string_view>
#include <vector>

namespace tessaly {

class Session;
class UserInput;

struct SettingControl {
    std::string_view setting;  // the vocabulary's name: words, speed, noise, ...
    void (*read)(const Session& session, PracticeSettings& into);
    // Sets the control as a user would; a control already there is left alone.
    void (*apply)(UserInput& user, const Session& session, const PracticeSettings& wanted);
};

// In the order a user sets them: the group count, the source, the word set, the
// reading mode, speed, tone, noise, the conditions, then the additions.
const std::vector<SettingControl>& settingControls();

// The settings as the controls (and the additions) hold them now.
PracticeSettings settingsOf(const Session& session);
// Brings every control to `settings` as a user would, so the handlers run exactly as
// for a user; the group count is typed as a number.
void applySettings(UserInput& user, const Session& session, const PracticeSettings& settings);

}  // namespace tessaly
