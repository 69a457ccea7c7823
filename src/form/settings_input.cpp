#include "form/settings_input.h"

#include "practice/settings_of_form.h"

namespace tessaly {

void applySettings(UserInput& user, const MainForm& form, const PracticeSettings& s) {
    const PracticeSettings now = settingsOf(form);
    if (form.Text2.text() != std::to_string(s.groups)) user.setText("Text2", std::to_string(s.groups));
    user.click(s.source == CallsignSource::Library ? "Option11" : "Option10");
    user.click(form.Option7[static_cast<int>(s.words)].name);
    user.click(s.mode == ReadingMode::Continuous ? "Option9" : "Option8");
    user.slide("Slider1", s.speed);
    user.slide("Slider2", s.tone);
    user.click("Option" + std::to_string(1 + s.noise));
    const char* boxes[6] = {"Check1", "Check2", "Check3", "Check4", "Check5", "Check6"};
    for (std::size_t i = 0; i < 6; ++i) {
        const Condition c = allConditions()[i];
        if (s.has(c) != now.has(c)) user.click(boxes[i]);
    }
    user.setAdditions(s);
}

}  // namespace tessaly
