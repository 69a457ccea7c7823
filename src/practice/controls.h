#pragma once
// Plain models of the main window's controls. They hold what the user sees and
// sets (values, texts, enabled states, tooltips, rows); the handlers read settings
// from them when needed, and the Qt window mirrors them into widgets.
#include <array>
#include <functional>
#include <string>
#include <vector>

namespace tessaly {

struct Control {
    explicit Control(std::string n) : name(std::move(n)) {}
    virtual ~Control() = default;
    std::string name;
    bool enabled = true;
    std::string toolTip;
};

struct Button : Control {
    Button(std::string n, std::string c) : Control(std::move(n)), caption(std::move(c)) {}
    std::string caption;
};

struct Label : Control {
    Label(std::string n, std::string c) : Control(std::move(n)), caption(std::move(c)) {}
    std::string caption;
};

struct TextBox : Control {
    TextBox(std::string n, std::string t) : Control(std::move(n)), text_(std::move(t)) {}
    const std::string& text() const { return text_; }
    // Like the window's text boxes: a change, and only a change, raises the change event.
    void setText(std::string t) {
        if (t == text_) return;
        text_ = std::move(t);
        if (onChange) onChange();
    }
    std::function<void()> onChange;

private:
    std::string text_;
};

struct CheckBox : Control {
    CheckBox(std::string n, std::string c) : Control(std::move(n)), caption(std::move(c)) {}
    std::string caption;
    int value = 0;  // 1 ticked, 0 unticked
    bool ticked() const { return value == 1; }
};

// Option buttons of one group: selecting one clears the others.
struct OptionButton : Control {
    OptionButton(std::string n, std::string c) : Control(std::move(n)), caption(std::move(c)) {}
    std::string caption;
    bool value = false;
    std::vector<OptionButton*> group;  // every member, itself included
    void select() {
        for (OptionButton* o : group) o->value = false;
        value = true;
    }
};

struct Slider : Control {
    Slider(std::string n, int lo, int hi, int v, int small, int large)
        : Control(std::move(n)), min(lo), max(hi), value(v), smallChange(small), largeChange(large) {}
    int min, max, value, smallChange, largeChange;
};

// The answer list: item text (row number), answer, expected copy, mark.
struct ListView : Control {
    using Row = std::array<std::string, 4>;
    explicit ListView(std::string n) : Control(std::move(n)) {}
    std::vector<Row> rows;
    int selectedRow = 0;  // 1-based; 0 for none
    void clear() {
        rows.clear();
        selectedRow = 0;
    }
};

}  // namespace tessaly
