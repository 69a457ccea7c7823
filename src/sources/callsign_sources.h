#pragma once
// The form's callsign sources: the generator behind the hidden button Command1,
// which builds the practice set (random callsigns from the prefix list, or real
// ones from the callsign library) and numbers the answer list's rows.
#include "practice/form_state.h"

namespace tessaly {

class CallsignSources {
public:
    explicit CallsignSources(FormState& form) : f(form) {}

    void Command1_Click();

private:
    FormState& f;
};

}  // namespace tessaly
