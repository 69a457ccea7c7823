#pragma once
// Plain models of the main window's controls. They hold what the user sees and
// sets (values, texts, enabled states, tooltips, rows) and carry their own event
// hooks, which the form wires to its handlers once, when it is built. Every
// control registers itself by name with its form's ControlRegistry, the one list
// that the window, the script host and the state dump all look controls up in.
//
// What a control shows sits behind Tracked, which counts each real change in the
// control's revision and in the registry's: a host that copies controls into
// widgets after every timer tick copies only those that moved.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tessaly {

enum class ControlKind { Button, MenuCommand, CheckBox, OptionButton, TextBox, Slider, ListView, Label };

// What a user can do to a control.
enum class UserAction { Click, Key, SetText, Slide, Hover };

class ControlRegistry;

// Counts changes: its own, and with them those of the revision it is part of.
class Revision {
public:
    explicit Revision(Revision* whole = nullptr) : whole_(whole) {}
    Revision(const Revision&) = delete;
    Revision& operator=(const Revision&) = delete;
    void bump() {
        for (Revision* r = this; r; r = r->whole_) ++r->count_;
    }
    std::uint64_t count() const { return count_; }

private:
    Revision* whole_;
    std::uint64_t count_ = 0;
};

// A value that bumps its revision when it really changes; it reads and assigns as
// the value itself (`box.enabled = false;`, `if (box.enabled)`).
template <class T>
class Tracked {
public:
    Tracked(Revision& revision, T value) : revision_(&revision), value_(std::move(value)) {}
    Tracked(const Tracked&) = delete;
    Tracked& operator=(const Tracked& other) { return *this = other.value_; }
    Tracked& operator=(T value) {
        if (value == value_) return *this;
        value_ = std::move(value);
        revision_->bump();
        return *this;
    }
    operator const T&() const { return value_; }
    const T& get() const { return value_; }
    const T* operator->() const { return &value_; }
    friend bool operator==(const Tracked& a, const T& b) { return a.value_ == b; }

private:
    Revision* revision_;
    T value_;
};

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
    // Moves on every real change of what the control shows.
    std::uint64_t revision() const { return revision_.count(); }

    const ControlKind kind;
    const std::string name;

protected:
    Revision revision_;  // first: the tracked values below count in it

public:
    Tracked<bool> enabled{revision_, true};
    Tracked<std::string> toolTip{revision_, {}};
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
    // Moves on every real change of any of its controls.
    std::uint64_t revision() const { return revision_.count(); }
    Revision& wholeRevision() { return revision_; }

private:
    Revision revision_;
    std::vector<Control*> inOrder_;
    std::unordered_map<std::string, Control*> byName_;
};

struct Button : Control {
    Button(ControlRegistry& r, std::string n, std::string c)
        : Control(r, ControlKind::Button, std::move(n)), caption(revision_, std::move(c)) {}
    // Pressing the button in code runs its handler to the end, as a click does.
    void press() {
        if (onClick) onClick();
    }
    void userClick() override { press(); }
    Tracked<std::string> caption;
    std::function<void()> onClick;
};

// A command of the menu bar ("退出(&Q)", "关于(&A)").
struct MenuCommand : Control {
    MenuCommand(ControlRegistry& r, std::string n, std::string c)
        : Control(r, ControlKind::MenuCommand, std::move(n)), caption(revision_, std::move(c)) {}
    void userClick() override {
        if (onClick) onClick();
    }
    Tracked<std::string> caption;
    std::function<void()> onClick;
};

struct Label : Control {
    Label(ControlRegistry& r, std::string n, std::string c)
        : Control(r, ControlKind::Label, std::move(n)), caption(revision_, std::move(c)) {}
    Tracked<std::string> caption;
};

struct TextBox : Control {
    TextBox(ControlRegistry& r, std::string n, std::string t, bool multiLine = false)
        : Control(r, ControlKind::TextBox, std::move(n)), multiLine(multiLine), text_(std::move(t)) {}
    const std::string& text() const { return text_; }
    // Like the window's text boxes: a change, and only a change, raises the change event.
    void setText(std::string t) {
        if (t == text_) return;
        text_ = std::move(t);
        revision_.bump();
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
    CheckBox(ControlRegistry& r, std::string n, std::string c)
        : Control(r, ControlKind::CheckBox, std::move(n)), caption(revision_, std::move(c)) {}
    bool ticked() const { return value == 1; }
    void userClick() override {
        value = value == 1 ? 0 : 1;
        if (onClick) onClick();
    }
    Tracked<std::string> caption;
    Tracked<int> value{revision_, 0};  // 1 ticked, 0 unticked
    std::function<void()> onClick;
};

// Option buttons of one group: selecting one clears the others.
struct OptionButton : Control {
    OptionButton(ControlRegistry& r, std::string n, std::string c)
        : Control(r, ControlKind::OptionButton, std::move(n)), caption(revision_, std::move(c)) {}
    void select() {
        for (OptionButton* o : group) o->value = false;
        value = true;
    }
    // Clicking the selected button runs its handler again (a level button re-applies its level).
    void userClick() override {
        select();
        if (onClick) onClick();
    }
    Tracked<std::string> caption;
    Tracked<bool> value{revision_, false};
    std::vector<OptionButton*> group;  // every member, itself included
    std::function<void()> onClick;
};

// Makes the buttons one group.
void groupOptions(std::initializer_list<OptionButton*> members);

struct Slider : Control {
    Slider(ControlRegistry& r, std::string n, int lo, int hi, int v, int small, int large)
        : Control(r, ControlKind::Slider, std::move(n)), min(lo), max(hi), value(revision_, v), smallChange(small), largeChange(large) {}
    const int min, max;
    Tracked<int> value;
    const int smallChange, largeChange;
    std::function<void()> onChange;  // a new value, once it is settled
    std::function<void()> onScroll;  // the thumb moving while dragged
};

// The answer list: item text (row number), answer, expected copy, mark. The rows
// change only through the calls below, which count in their own revision too.
struct ListView : Control {
    using Row = std::array<std::string, 4>;
    ListView(ControlRegistry& r, std::string n) : Control(r, ControlKind::ListView, std::move(n)) {}
    void clear() {
        if (!rows_.empty()) {
            rows_.clear();
            rowsRevision_.bump();
        }
        selectedRow = 0;
    }
    void addRow(Row row) {
        rows_.push_back(std::move(row));
        rowsRevision_.bump();
    }
    // Row `row` (0-based), column `column` (0..3).
    void setCell(std::size_t row, std::size_t column, std::string text) {
        std::string& cell = rows_.at(row).at(column);
        if (cell == text) return;
        cell = std::move(text);
        rowsRevision_.bump();
    }
    // Moves on every real change of the rows (and with it the control's revision).
    std::uint64_t rowsRevision() const { return rowsRevision_.count(); }

private:
    std::vector<Row> rows_;
    Revision rowsRevision_{&revision_};

public:
    const std::vector<Row>& rows = rows_;
    Tracked<int> selectedRow{revision_, 0};  // 1-based; 0 for none
    std::function<void()> onMouseMove;
};

}  // namespace tessaly
