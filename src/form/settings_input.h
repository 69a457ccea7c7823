#pragma once
// Setting the window up for a practice as a user would: each control clicked, slid
// or typed into through UserInput, so the handlers run exactly as for a user.
#include "base/practice_settings.h"
#include "form/user_input.h"

namespace tessaly {

// Brings every control to `settings`; a control already there is left alone, so a
// form at its defaults sees only the actions that change something. The group
// count is typed as a number.
void applySettings(UserInput& user, const MainForm& form, const PracticeSettings& settings);

}  // namespace tessaly
