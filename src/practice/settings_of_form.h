#pragma once
// The practice settings as the window's controls hold them: the one place they are
// read from the controls.
#include "base/practice_settings.h"
#include "practice/form_state.h"

#include <string>

namespace tessaly {

PracticeSettings settingsOf(const FormState& form);

// The number of callsigns a group-count text asks for, as the generator reads it:
// to the nearest whole number (a half to the even neighbour), 0 for anything not a
// number or below 1, at most 32767.
int groupsWanted(const std::string& text);

}  // namespace tessaly
