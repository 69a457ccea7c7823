#pragma once
// The main window's state: its controls with their design-time values, its twelve
// timers and the practice state, under the window's own names. There is no other
// store: every run starts from these defaults, and the handlers of every subsystem
// (practice/, sources/, speech/, channel/) read and write this one object. The
// form (form/main_form.h) owns it together with those handlers.
#include "base/random_source.h"
#include "practice/controls.h"
#include "practice/form_host.h"
#include "practice/timer.h"
#include "sound/sound_api.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

class FormState {
public:
    FormState(TimerClock& clock, SoundPlatform& platform, RandomSource& random, FormHost& host);
    FormState(const FormState&) = delete;
    FormState& operator=(const FormState&) = delete;

private:
    ControlRegistry registry_;  // first: every control below registers with it

public:
    // ---- controls, in the window's order
    ListView ListView1{registry_, "ListView1"};
    Label Label6{registry_, "Label6", "00:00:00"};
    OptionButton Option1{registry_, "Option1", "off"}, Option2{registry_, "Option2", "S1"},
        Option3{registry_, "Option3", "S2"}, Option4{registry_, "Option4", "S3"}, Option5{registry_, "Option5", "S4"},
        Option6{registry_, "Option6", "S5"};
    CheckBox Check1{registry_, "Check1", "QRN"}, Check2{registry_, "Check2", "QRM"}, Check3{registry_, "Check3", "QSB"};
    OptionButton Option7[5] = {{registry_, "Option7(0)", "标准"},
                               {registry_, "Option7(1)", "地名"},
                               {registry_, "Option7(2)", "其他"},
                               {registry_, "Option7(3)", "混合"},
                               {registry_, "Option7(4)", "三级考试标准发音"}};
    Slider Slider1{registry_, "Slider1", 0, 10, 5, 1, 5};
    Slider Slider2{registry_, "Slider2", 80, 5000, 2500, 100, 500};
    CheckBox Check4{registry_, "Check4", "噪音"}, Check5{registry_, "Check5", "速度"}, Check6{registry_, "Check6", "音调"};
    OptionButton Option8{registry_, "Option8", "分组"}, Option9{registry_, "Option9", "连续"};
    OptionButton Option10{registry_, "Option10", "随机"}, Option11{registry_, "Option11", "呼号库"};
    TextBox Text2{registry_, "Text2", "20"};
    Button Command4{registry_, "Command4", "开始"};
    Button Command5{registry_, "Command5", "停止"};
    TextBox Text6{registry_, "Text6", ""};  // the answer box
    // Hidden: the practice text, the generator pressed in code, two trace boxes.
    TextBox Text1{registry_, "Text1", "", /*multiLine=*/true};
    Button Command1{registry_, "Command1", "生成"};
    TextBox Text3{registry_, "Text3", "Text3"}, Text5{registry_, "Text5", "Text5"};
    MenuCommand mquit{registry_, "mquit", "退出(&Q)"}, mabout{registry_, "mabout", "关于(&A)"};

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

    // Start's step that plays the band noise and starts the ticked conditions (channel/).
    std::function<void()> onStartConditions;
    // The reader is about to speak the first character of a callsign (line `linesStarted`).
    std::function<void()> onCallsignBegins;

    // ---- for learning from each practice (unused, they change nothing)
    int linesStarted = 0;                 // callsigns of the practice text the reader has begun
    int unitsStarted = 0;                 // characters of the practice text whose clips the reader has started
    std::vector<std::string> drillUnits;  // the generator favours callsigns with these; empty: draws as usual
    std::function<void()> onStarting;     // Start is about to make the practice set
    std::function<void()> onStarted;      // Start has set the practice up
    std::function<void()> onMarked;       // the answer list has been marked

    // ---- additions to the window's band conditions; unset, the practice is the window's own
    struct Additions {
        std::optional<double> snrDb;  // band noise at this SNR, in dB, instead of the level buttons
        std::string path = "off";     // ionospheric path preset of both stations
        bool passband = false;        // the receiver's SSB passband
        std::string agc = "off";      // the receiver's AGC: off, fast, medium, slow
        bool threshold = false;       // the next Start begins an adaptive threshold run
    } additions;
    // The SNR the callsign now being read is heard at (a set SNR, or a threshold run's
    // trial); unset, the band noise follows its level buttons.
    std::optional<double> callsignSnrDb;
    // A threshold run is under way: it reads grouped (each answer fixes the next SNR)
    // a set of thresholdTrials callsigns, whatever the reading mode and group count say.
    bool thresholdRunning = false;
    int thresholdTrials = 0;
    // The noise level button (1..5 for S1..S5) nearest an SNR, where the sound can tell.
    std::function<std::optional<int>(double snrDb)> noiseLevelNear;
    // A line under the list's summary once a threshold run is marked ("本次阈值 ...").
    std::string summaryAddition;
    // An answer has just been stored in row `row` (1-based).
    std::function<void(int row)> onAnswered;

    // ---- lookups for hosts
    const ControlRegistry& controls() const { return registry_; }
    Control* control(const std::string& name) const { return registry_.find(name); }
    std::vector<Timer*> timers();
    Timer* timer(const std::string& name);

    // ---- shared by the handlers of several subsystems
    bool groupedReading() const { return (Option8.value && !Option9.value) || thresholdRunning; }
    // The reader's pace from the speed slider (Timer2's interval).
    void restartReaderInterval();
    // Reseeds, then draws the interval of a condition's scheduler or ramp: 50 .. 140 ms.
    int drawTimerInterval();

    TimerClock& clock() { return clock_; }
    SoundPlatform& platform() { return platform_; }
    RandomSource& random() { return random_; }
    FormHost& host() { return host_; }

private:
    TimerClock& clock_;
    SoundPlatform& platform_;
    RandomSource& random_;
    FormHost& host_;
};

}  // namespace tessaly
