#pragma once
// What a user does to the window, turned into the controls' events. The Qt window
// and the headless script runner both go through here, so both behave alike.
#include "base/practice_settings.h"
#include "form/session.h"

#include <string>

namespace tessaly {

enum class InputResult {
    Done,
    Ignored,         // the control is disabled
    UnknownControl,  // no control of that name
    NotApplicable,   // the control does not take this action (typing into a button)
};

class UserInput {
public:
    explicit UserInput(Session& session) : session_(session) {}

    // A click on a button, option button (selects it), check box (toggles it) or
    // menu command ("mquit", "mabout").
    InputResult click(const std::string& name);
    // One key into a text box: a Unicode code point; 8 deletes the last character,
    // 13 is Enter.
    InputResult pressKey(const std::string& name, char32_t key);
    // Key by key, as typing does (UTF-8 text).
    InputResult type(const std::string& name, const std::string& text);
    // The whole text replaced at once (one change), as a paste over the box.
    InputResult setText(const std::string& name, const std::string& text);
    // A paste at the end of the box: as one change, through the same rules as
    // typed keys (the box's key handling may change each character; control
    // characters, which no key types, are dropped).
    InputResult paste(const std::string& name, const std::string& text);
    // The slider moved to `value` (clamped to its range): one change event.
    InputResult slide(const std::string& name, int value);
    // While dragging: the value follows the thumb, with scroll events only.
    InputResult scroll(const std::string& name, int value);
    // The thumb let go after a drag: the change event for the value the drag
    // reached (scroll has already moved the value there, so slide() would see no change).
    InputResult endScroll(const std::string& name);
    // The mouse moves over a control. Not refused by a disabled control.
    InputResult hover(const std::string& name);
    // Learning from a marked practice (the answer list's context menu; double-click
    // on a row replays it). Ignored while a practice runs or when there is nothing
    // marked to act on.
    InputResult replay(int row);
    void setDrill(bool on);
    // The learning record (保存学习记录) on or off; on, each marked practice is kept
    // in it and the settings file remembers it for the next start.
    void setRecord(bool on);
    // 删除学习记录…: asks, then deletes the record.
    void deleteRecord();
    // Writes the marked list to `path`; a message box says so when it cannot.
    // `written`, when given, says whether the file was written.
    InputResult exportResults(const std::string& path, bool* written = nullptr);
    // The additions to the band conditions, as their menu items set them. Each acts
    // only on a change. An unknown path or AGC is refused (NotApplicable).
    InputResult setSnr(std::optional<double> snrDb);  // unset: back to the level buttons
    InputResult setPath(const std::string& preset);
    InputResult setPassband(bool on);
    InputResult setAgc(const std::string& speed);
    InputResult setThreshold(bool on);  // the next Start begins a threshold run
    // Whose voice reads: "default" (each word set's own), "varied" (one drawn for each
    // callsign) or a built-in speaker's name; an unknown one is refused (NotApplicable).
    InputResult setSpeaker(const std::string& choice);
    // The digits as the figure code words (NADAZERO ..), or as the word set has them.
    InputResult setFigures(bool on);
    // A pile-up of 2 .. 6 stations from the next Start on, or none (0); refused while a
    // practice runs. Its callers as a steady stream, or a fixed set.
    InputResult setPileup(int stations);
    InputResult setPileupStream(bool on);
    // The close box: the unload step runs.
    void close();

private:
    // Looks the control up, checks that it takes the action and is enabled, then acts.
    template <class C, class Act>
    InputResult act(const std::string& name, UserAction action, Act&& what);
    void key(TextBox& box, char32_t key);

    Session& session_;
};

}  // namespace tessaly
