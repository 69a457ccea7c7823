#include "form/learning_start.h"

#include "form/settings_input.h"

namespace tessaly {

void restoreLearning(UserInput& user, MainForm& form, RestoredSettings what) {
    const auto settings = form.review.restoreRecord();
    if (!settings) return;
    if (settings->drill) user.setDrill(true);
    if (what != RestoredSettings::WithLastPractice || !settings->lastPractice) return;
    PracticeSettings last = *settings->lastPractice;
    last.threshold = false;
    applySettings(user, form, last);
}

}  // namespace tessaly
