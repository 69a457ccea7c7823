#pragma once
// The main window's controls, under the window's own names, with their design-time
// values. Each registers itself by name, in the window's order, with the registry
// that the window, the script host and the state dump look controls up in. Which
// part of the practice answers a control's events is the session's business
// (form/session.h); what a control's value means as a setting is read here.
#include "base/practice_settings.h"
#include "practice/controls.h"

#include <array>

namespace tessaly {

class WindowControls {
public:
    WindowControls();
    WindowControls(const WindowControls&) = delete;
    WindowControls& operator=(const WindowControls&) = delete;

private:
    ControlRegistry registry_;  // first: every control below registers with it

public:
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

    const ControlRegistry& registry() const { return registry_; }
    Control* find(const std::string& name) const { return registry_.find(name); }

    // The noise level buttons, off and S1 .. S5; the condition boxes in the order of
    // allConditions() (QRN, QRM, QSB, noise, speed, tone).
    std::array<OptionButton*, 6> noiseButtons();
    std::array<const OptionButton*, 6> noiseButtons() const;
    std::array<const CheckBox*, 6> conditionBoxes() const;

    // What the controls say as settings; each read from its control when asked.
    WordSet words() const;            // the first selected word-set button
    int noiseLevel() const;           // the selected level button: 0 off, 1 .. 5 for S1 .. S5
    bool continuousChosen() const { return Option9.value && !Option8.value; }
    bool libraryChosen() const { return Option11.value && !Option10.value; }
    bool ticked(Condition c) const;
    // The callsigns the group-count box asks for (groupsWanted of its text).
    int groupsAsked() const;
};

}  // namespace tessaly
