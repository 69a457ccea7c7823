#include "practice/main_form.h"

#include "resources/resource_store.h"

namespace tessaly {

MainForm::MainForm(TimerClock& clock, SoundPlatform& platform, RandomSource& random, FormHost& host)
    : platform_(platform), random_(random), host_(host) {
    for (OptionButton* group : {&Option1, &Option2, &Option3, &Option4, &Option5, &Option6})
        for (OptionButton* o : {&Option1, &Option2, &Option3, &Option4, &Option5, &Option6}) group->group.push_back(o);
    for (OptionButton& member : Option7)
        for (OptionButton& o : Option7) member.group.push_back(&o);
    Option8.group = Option9.group = {&Option8, &Option9};
    Option10.group = Option11.group = {&Option10, &Option11};
    Option1.value = true;
    Option7[4].value = true;
    Option8.value = true;
    Option10.value = true;

    Command4.toolTip = "点击此按钮开始进行听抄练习";
    Command5.toolTip = "停止听抄并且查看答案";
    Text6.toolTip = "输入完毕后按回车确认";
    Text2.onChange = [this] { Text2_Change(); };

    Timer2.attach(&clock, [this] { Timer2_Timer(); });
    Timer3.attach(&clock, [this] { Timer3_Timer(); });
    Timer4.attach(&clock, [this] { Timer4_Timer(); });
    Timer5.attach(&clock, [this] { Timer5_Timer(); });
    Timer6.attach(&clock, [this] { Timer6_Timer(); });
    Timer7.attach(&clock, [this] { Timer7_Timer(); });
    Timer8.attach(&clock, [this] { Timer8_Timer(); });
    Timer9.attach(&clock, [this] { Timer9_Timer(); });
    Timer10.attach(&clock, [this] { Timer10_Timer(); });
    Timer11.attach(&clock, [this] { Timer11_Timer(); });
    Timer12.attach(&clock, [this] { Timer12_Timer(); });
    // Timer1 ticks at 200 ms from load with no handler: it is left unattached,
    // so it shows its settings but never costs a wake-up.
}

void MainForm::Form_Load() {
    // Sound set-up: a failing step is skipped and the load goes on.
    ReopenDevice();
    if (ds) {
        noiseBuffer = ds->createBufferFromResource("zaoyin", kFlagsWithTone);
        qrnBuffer = ds->createBufferFromResource("qrn", kFlagsWithTone);
    }
    if (noiseBuffer) {
        noiseBuffer->setVolume(kVolumeSilent);
        noiseBuffer->setFrequency(11025);  // a quarter of the recorded rate: two octaves down
    }
    Timer3.setEnabled(false);
    Timer3.setInterval(1000);
    Timer1.setEnabled(true);
    Timer1.setInterval(200);
    Timer11.setEnabled(false);
    Timer11.setInterval(10);
    prefixText = resourceText("CUSTOM", "227");
    Text6.enabled = false;
}

void MainForm::Form_Unload() { ReleaseSound(); }

void MainForm::mquit_Click() { host_.quitNow(); }

void MainForm::mabout_Click() { host_.showAbout(); }

int MainForm::drawTimerInterval() {
    random_.reseedFromClock();
    return random_.draw(91, 50);
}

void MainForm::restartReaderInterval() { Timer2.setInterval(Slider1.value * 120 + 500); }

std::vector<Control*> MainForm::controls() {
    return {&ListView1, &Label6,   &Option1,    &Option2,    &Option3,    &Option4,    &Option5,
            &Option6,   &Check1,   &Check2,     &Check3,     &Option7[4], &Option7[0], &Option7[1],
            &Option7[2], &Option7[3], &Slider1,  &Slider2,    &Check4,     &Check5,     &Check6,
            &Option8,   &Option9,  &Option10,   &Option11,   &Text2,      &Command4,   &Command5,
            &Text6,     &Text1,    &Command1,   &Text3,      &Text5};
}

Control* MainForm::control(const std::string& name) {
    for (Control* c : controls())
        if (c->name == name) return c;
    return nullptr;
}

std::vector<Timer*> MainForm::timers() {
    return {&Timer1, &Timer2, &Timer3, &Timer4, &Timer5,  &Timer6,
            &Timer7, &Timer8, &Timer9, &Timer10, &Timer11, &Timer12};
}

Timer* MainForm::timer(const std::string& name) {
    for (Timer* t : timers())
        if (t->name() == name) return t;
    return nullptr;
}

}  // namespace tessaly
