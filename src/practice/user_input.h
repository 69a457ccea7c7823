#pragma once
// What a user does to the window, turned into the handlers' events. The Qt window
// and the headless script runner both go through here, so both behave alike.
#include "practice/main_form.h"

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
    explicit UserInput(MainForm& form) : form_(form) {}

    // A click on a button, option button (selects it), check box (toggles it), or
    // the menu commands "mquit" and "mabout".
    InputResult click(const std::string& name);
    // One key into a text box: a Unicode code point; 8 deletes the last character,
    // 13 is Enter.
    InputResult pressKey(const std::string& name, char32_t key);
    // Key by key, as typing does (UTF-8 text).
    InputResult type(const std::string& name, const std::string& text);
    // The whole text replaced at once (one change), as a paste over the box.
    InputResult setText(const std::string& name, const std::string& text);
    // The slider moved to `value` (clamped to its range): one change event.
    InputResult slide(const std::string& name, int value);
    // While dragging: the value follows the thumb, with scroll events only.
    InputResult scroll(const std::string& name, int value);
    // The thumb let go after a drag: the change event for the value the drag
    // reached (scroll has already moved the value there, so slide() would see no change).
    InputResult endScroll(const std::string& name);
    InputResult hover(const std::string& name);
    // The close box: the unload step runs.
    void close();

private:
    MainForm& form_;
};

// UTF-8 helpers for key-by-key typing.
std::u32string decodeUtf8(const std::string& text);
std::string encodeUtf8(char32_t codePoint);

}  // namespace tessaly
