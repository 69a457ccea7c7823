#include "practice/window_controls.h"

#include "practice/clock.h"

namespace tessaly {

WindowControls::WindowControls() {
    const auto levels = noiseButtons();
    for (OptionButton* o : levels) o->group.assign(levels.begin(), levels.end());
    groupOptions({&Option7[0], &Option7[1], &Option7[2], &Option7[3], &Option7[4]});
    groupOptions({&Option8, &Option9});
    groupOptions({&Option10, &Option11});
    Option1.value = true;
    Option7[4].value = true;
    Option8.value = true;
    Option10.value = true;

    Command4.toolTip = "点击此按钮开始进行听抄练习";
    Command5.toolTip = "停止听抄并且查看答案";
    Text6.toolTip = "输入完毕后按回车确认";
}

std::array<OptionButton*, 6> WindowControls::noiseButtons() {
    return {&Option1, &Option2, &Option3, &Option4, &Option5, &Option6};
}

std::array<const OptionButton*, 6> WindowControls::noiseButtons() const {
    const auto buttons = const_cast<WindowControls*>(this)->noiseButtons();
    return {buttons[0], buttons[1], buttons[2], buttons[3], buttons[4], buttons[5]};
}

std::array<const CheckBox*, 6> WindowControls::conditionBoxes() const {
    return {&Check1, &Check2, &Check3, &Check4, &Check5, &Check6};
}

WordSet WindowControls::words() const {
    for (int i = 0; i < 5; ++i)
        if (Option7[i].value) return static_cast<WordSet>(i);
    return WordSet::Exam;
}

int WindowControls::noiseLevel() const {
    const auto buttons = noiseButtons();
    for (int i = 0; i < 6; ++i)
        if (buttons[static_cast<std::size_t>(i)]->value) return i;
    return 0;
}

bool WindowControls::ticked(Condition c) const {
    const auto& all = allConditions();
    const auto boxes = conditionBoxes();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i] == c) return boxes[i]->ticked();
    return false;
}

int WindowControls::groupsAsked() const { return groupsWanted(Text2.text()); }

}  // namespace tessaly
