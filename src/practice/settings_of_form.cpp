#include "practice/settings_of_form.h"

#include "practice/clock.h"

namespace tessaly {

int groupsWanted(const std::string& text) {
    const auto number = parseNumber(text);
    if (!number) return 0;
    const double whole = roundHalfEven(*number);
    return whole < 1 ? 0 : whole > 32767 ? 32767 : static_cast<int>(whole);
}

PracticeSettings settingsOf(const FormState& f) {
    PracticeSettings s;
    for (int i = 0; i < 5; ++i)
        if (f.Option7[i].value) s.words = static_cast<WordSet>(i);
    s.speed = f.Slider1.value;
    s.tone = f.Slider2.value;
    const OptionButton* levels[6] = {&f.Option1, &f.Option2, &f.Option3, &f.Option4, &f.Option5, &f.Option6};
    for (int i = 0; i < 6; ++i)
        if (levels[i]->value) s.noise = i;
    const CheckBox* boxes[6] = {&f.Check1, &f.Check2, &f.Check3, &f.Check4, &f.Check5, &f.Check6};
    for (std::size_t i = 0; i < 6; ++i) s.set(allConditions()[i], boxes[i]->ticked());
    s.mode = f.groupedReading() ? ReadingMode::Grouped : ReadingMode::Continuous;
    s.source = f.Option11.value && !f.Option10.value ? CallsignSource::Library : CallsignSource::Random;
    s.groups = groupsWanted(f.Text2.text());
    s.snrDb = f.additions.snrDb;
    s.path = f.additions.path;
    s.passband = f.additions.passband;
    s.agc = f.additions.agc;
    s.threshold = f.additions.threshold;
    return s;
}

}  // namespace tessaly
