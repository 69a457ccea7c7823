#include "practice/form_state.h"

#include "practice/reading_pace.h"

namespace tessaly {

FormState::FormState(TimerClock& clock, SoundPlatform& platform, RandomSource& random, FormHost& host)
    : clock_(clock), platform_(platform), random_(random), host_(host) {
    groupOptions({&Option1, &Option2, &Option3, &Option4, &Option5, &Option6});
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

std::vector<Timer*> FormState::timers() {
    return {&Timer1, &Timer2, &Timer3, &Timer4, &Timer5,  &Timer6,
            &Timer7, &Timer8, &Timer9, &Timer10, &Timer11, &Timer12};
}

Timer* FormState::timer(const std::string& name) {
    for (Timer* t : timers())
        if (t->name() == name) return t;
    return nullptr;
}

void FormState::restartReaderInterval() { Timer2.setInterval(readerIntervalMs(Slider1.value)); }

int FormState::drawTimerInterval() {
    random_.reseedFromClock();
    return random_.draw(91, 50);
}

}  // namespace tessaly
