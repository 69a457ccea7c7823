#pragma once
// The start of a program with the learning record on: what the settings file
// remembers is brought back as the learner left it.
#include "form/user_input.h"

namespace tessaly {

// How much of it: the window brings the last practice's settings back too; a
// script sets its own practice up, so it takes only the record and the drill.
enum class RestoredSettings { RecordAndDrill, WithLastPractice };

// When the settings file says the record is on: the record on again, the drill as
// it was and, for the window, the controls set to the last practice's settings as
// a user would set them (a threshold run is not started again). Nothing, and
// nothing read but the settings file, when the record is off.
void restoreLearning(UserInput& user, Session& session, RestoredSettings what);

}  // namespace tessaly
