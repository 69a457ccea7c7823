#include "form/learning_start.h"

#include "form/setting_controls.h"

namespace tessaly {

void restoreLearning(UserInput& user, Session& session, RestoredSettings what) {
    const auto settings = session.review().restoreRecord();
    if (!settings) return;
    if (settings->drill) user.setDrill(true);
    if (what != RestoredSettings::WithLastPractice || !settings->lastPractice) return;
    PracticeSettings last = *settings->lastPractice;
    last.threshold = false;
    applySettings(user, session, last);
}

}  // namespace tessaly
