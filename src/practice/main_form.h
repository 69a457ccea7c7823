#pragma once
// The main window's logic: its practice state, its controls and timers, and one
// handler per control event, under the window's own names. Handlers live in the
// folder of their subsystem (practice/, sources/, speech/, channel/); every host
// (window, headless runner, tests) drives the same object.
#include "practice/controls.h"
#include "practice/form_host.h"
#include "practice/timer.h"
#include "sources/random_source.h"
#include "speech/sound_api.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tessaly {

class MainForm {
public:
    MainForm(TimerClock& clock, SoundPlatform& platform, RandomSource& random, FormHost& host);
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // ---- controls, with the window's names and design-time values
    TextBox Text1{"Text1", ""};  // hidden: the practice text
    TextBox Text2{"Text2", "20"};
    TextBox Text3{"Text3", "Text3"};  // hidden trace boxes
    TextBox Text5{"Text5", "Text5"};
    TextBox Text6{"Text6", ""};  // the answer box
    Button Command1{"Command1", "生成"};  // hidden: the generator
    Button Command4{"Command4", "开始"};
    Button Command5{"Command5", "停止"};
    OptionButton Option1{"Option1", "off"}, Option2{"Option2", "S1"}, Option3{"Option3", "S2"},
        Option4{"Option4", "S3"}, Option5{"Option5", "S4"}, Option6{"Option6", "S5"};
    OptionButton Option7[5] = {{"Option7(0)", "标准"}, {"Option7(1)", "地名"}, {"Option7(2)", "其他"},
                               {"Option7(3)", "混合"}, {"Option7(4)", "三级考试标准发音"}};
    OptionButton Option8{"Option8", "分组"}, Option9{"Option9", "连续"};
    OptionButton Option10{"Option10", "随机"}, Option11{"Option11", "呼号库"};
    CheckBox Check1{"Check1", "QRN"}, Check2{"Check2", "QRM"}, Check3{"Check3", "QSB"};
    CheckBox Check4{"Check4", "噪音"}, Check5{"Check5", "速度"}, Check6{"Check6", "音调"};
    Slider Slider1{"Slider1", 0, 10, 5, 1, 5};
    Slider Slider2{"Slider2", 80, 5000, 2500, 100, 500};
    ListView ListView1{"ListView1"};
    Label Label6{"Label6", "00:00:00"};

    Timer Timer1{"Timer1", 1}, Timer2{"Timer2", 2}, Timer3{"Timer3", 3}, Timer4{"Timer4", 4},
        Timer5{"Timer5", 5}, Timer6{"Timer6", 6}, Timer7{"Timer7", 7}, Timer8{"Timer8", 8},
        Timer9{"Timer9", 9}, Timer10{"Timer10", 10}, Timer11{"Timer11", 11}, Timer12{"Timer12", 12};

    // ---- practice state
    SoundPlatform* dx = nullptr;
    std::shared_ptr<SoundDevice> ds;
    std::shared_ptr<SoundBuffer> clipBuffer, qrnBuffer, qrmBuffer, noiseBuffer, fxBuffer;
    std::int32_t fxIndex = 0;
    std::shared_ptr<ParamEq> paramEq;
    std::int32_t textLength = 0;
    std::int32_t groupCount = 0;
    int readPos = 0;
    int rowIndex = 0;
    bool practising = false;
    std::int32_t rowNumber = 0;
    int answerCount = 0;
    int letterSet = 0, digitSet = 0;
    int fadeLevel = 0;
    float fadeFloor = 0;
    std::int16_t toneCentre = 0;
    int noiseDipLevel = 0;
    float noiseDipFloor = 0;
    std::int16_t toneFloor = 0;
    std::string clipName, qrmClipName;
    bool fadeDown = false;
    bool noiseDipDown = false;
    bool toneDown = false;
    std::string prefixText;
    bool waitingForAnswer = false;
    std::int32_t elapsedSeconds = 0;
    std::string callsignText;

    // ---- handlers
    void Form_Load();
    void Form_Unload();
    void mquit_Click();
    void mabout_Click();
    void Command1_Click();  // generator
    void Command4_Click();  // Start
    void Command5_Click();  // Stop
    void Text6_KeyPress(int& KeyAscii);
    void Text2_Change();
    void ListView1_MouseMove();
    void Slider1_Change();
    void Slider2_Change();
    void Slider2_Scroll();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Option5_Click();
    void Option6_Click();
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void Check5_Click();
    void Check6_Click();
    void Timer2_Timer();
    void Timer3_Timer();
    void Timer4_Timer();
    void Timer5_Timer();
    void Timer6_Timer();
    void Timer7_Timer();
    void Timer8_Timer();
    void Timer9_Timer();
    void Timer10_Timer();
    void Timer11_Timer();
    void Timer12_Timer();

    // ---- the window's own functions
    std::string ResToStr(const std::string& StrRes);
    void MarkAnswers();
    int CountCorrect();
    // Sound engine operations.
    void ReopenDevice();
    void StartClip();
    void SetupEffect();
    void SetBuffer(std::shared_ptr<SoundBuffer> oBuf, std::int32_t Index);
    void GetParamEq();
    void SetTone();
    void ReleaseSound();

    // ---- for hosts
    std::vector<Control*> controls();  // in the window's order
    Control* control(const std::string& name);
    std::vector<Timer*> timers();
    Timer* timer(const std::string& name);
    // Noise volume of the selected level button (hundredths of a dB).
    int selectedNoiseLevel() const;
    bool groupedReading() const { return Option8.value && !Option9.value; }
    // True once the user's settings disable the noise-level buttons etc.
    RandomSource& random() { return random_; }
    FormHost& host() { return host_; }

private:
    void endOfReading();       // the reader reached the end of the practice text
    void restartReaderInterval();  // Timer2 := Slider1 x 120 + 500 ms
    int drawTimerInterval();   // reseed, floor(r x 91 + 50): 50 .. 140 ms

    SoundPlatform& platform_;
    RandomSource& random_;
    FormHost& host_;
};

}  // namespace tessaly
