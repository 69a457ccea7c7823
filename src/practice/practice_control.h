#pragma once
// The form's practice control: starting and stopping a practice, taking and
// marking the answers, the review list's summary, the elapsed-time clock and the
// group-count check. These handlers work on the form's state only; the generator
// is reached by pressing its hidden button, as the window does.
#include "practice/form_state.h"

namespace tessaly {

class PracticeControl {
public:
    explicit PracticeControl(FormState& form) : f(form) {}

    void Command4_Click();  // Start
    void Command5_Click();  // Stop
    void Text6_KeyPress(int& KeyAscii);
    void Text2_Change();
    void ListView1_MouseMove();
    void Timer12_Timer();

    void MarkAnswers();
    int CountCorrect();

private:
    FormState& f;
};

}  // namespace tessaly
