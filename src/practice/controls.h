#pragma once
// Plain models of the main window's controls. They hold what the user sees and
// sets (values, texts, enabled states, tooltips, rows) and carry their own event
// hooks, which the form wires to its handlers once, when it is built. Every
// control registers itself by name with its form's ControlRegistry, the one list
// that the window, the script host and the state dump all look controls up in.
#include <array>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tessaly {

enum class ControlKind { Button, MenuCommand, CheckBox, OptionButton, TextBox, Slider, ListView, Label };

// What a user can do to a control.
enum class UserAction { Click, Key, SetText, Slide, Hover };

class ControlRegistry;

struct Control {
    Control(ControlRegistry& registry, ControlKind kind, std::string name);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Whether this kind of control takes the action at all (a slider takes no
    // click, only text boxes take keys).
    bool takes(UserAction action) const;
    // A user's click: buttons press, check boxes toggle, option buttons select.
    virtual void userClick() {}

    const ControlKind kind;
    const std::string name;
    bool enabled = true;
    std::string toolTip;
};

// Controls by name, in the window's order. Names match exactly ("Option7(4)").
class ControlRegistry {
public:
    ControlRegistry() = default;
    ControlRegistry(const ControlRegistry&) = delete;
    ControlRegistry& operator=(const ControlRegistry&) = delete;

    void add(Control& control);
    Control* find(const std::string& name) const;
    const std::vector<Control*>& all() const { return inOrder_; }

private:
    std::vector<Control*> inOrder_;
    std::unordered_map<std::string, Control*> byName_;
};

struct Button : Control {
    Button(ControlRegistry& r, std::string n, std::string c) : Control(r, ControlKind::Button, std::move(n)), caption(std::move(c)) {}
    // Pressing the button in code runs its handler to the end, as a click does.
    void press() {
        if (onClick) onClick();
    }
    void userClick() override { press(); }
    std::string caption;
    std::function<void()> onClick;
};

// A command of the menu bar ("退出(&Q)", "关于(&A)").
struct MenuCommand : Control {
    MenuCommand(ControlRegistry& r, std::string n, std::string c)
        : Control(r, ControlKind::MenuCommand, std::move(n)), caption(std::move(c)) {}
    void userClick() override {
        if (onClick) onClick();
    }
    std::string caption;
    std::function<void()> onClick;
};

struct Label : Control {
    Label(ControlRegistry& r, std::string n, std::string c) : Control(r, ControlKind::Label, std::move(n)), caption(std::move(c)) {}
    std::string caption;
};

struct TextBox : Control {
    TextBox(ControlRegistry& r, std::string n, std::string t, bool multiLine = false)
        : Control(r, ControlKind::TextBox, std::move(n)), multiLine(multiLine), text_(std::move(t)) {}
    const std::string& text() const { return text_; }
    // Like the window's text boxes: a change, and only a change, raises the change event.
    void setText(std::string t) {
        if (t == text_) return;
        text_ = std::move(t);
        if (onChange) onChange();
    }
    // Single-line boxes take no line breaks.
    const bool multiLine;
    std::function<void()> onChange;
    // Sees every key first and may change it; 0 swallows the key.
    std::function<void(int& keyAscii)> onKeyPress;

private:
    std::string text_;
};

struct CheckBox : Control {
    CheckBox(ControlRegistry& r, std::string n, std::string c) : Control(r, ControlKind::CheckBox, std::move(n)), caption(std::move(c)) {}
    bool ticked() const { return value == 1; }
    void userClick() override {
        value = value == 1 ? 0 : 1;
        if (onClick) onClick();
    }
    std::string caption;
    int value = 0;  // 1 ticked, 0 unticked
    std::function<void()> onClick;
};

// Option buttons of one group: selecting one clears the others.
struct OptionButton : Control {
    OptionButton(ControlRegistry& r, std::string n, std::string c)
        : Control(r, ControlKind::OptionButton, std::move(n)), caption(std::move(c)) {}
    void select() {
        for (OptionButton* o : group) o->value = false;
        value = true;
    }
    // Clicking the selected button runs its handler again (a level button re-applies its level).
    void userClick() override {
        select();
        if (onClick) onClick();
    }
    std::string caption;
    bool value = false;
    std::vector<OptionButton*> group;  // every member, itself included
    std::function<void()> onClick;
};

// Makes the buttons one group.
void groupOptions(std::initializer_list<OptionButton*> members);

struct Slider : Control {
    Slider(ControlRegistry& r, std::string n, int lo, int hi, int v, int small, int large)
        : Control(r, ControlKind::Slider, std::move(n)), min(lo), max(hi), value(v), smallChange(small), largeChange(large) {}
    int min, max, value, smallChange, largeChange;
    std::function<void()> onChange;  // a new value, once it is settled
    std::function<void()> onScroll;  // the thumb moving while dragged
};

// The answer list: item text (row number), answer, expected copy, mark.
struct ListView : Control {
    using Row = std::array<std::string, 4>;
    ListView(ControlRegistry& r, std::string n) : Control(r, ControlKind::ListView, std::move(n)) {}
    void clear() {
        rows.clear();
        selectedRow = 0;
    }
    std::vector<Row> rows;
    int selectedRow = 0;  // 1-based; 0 for none
    std::function<void()> onMouseMove;
};

}  // namespace tessaly
