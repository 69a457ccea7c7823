#include "form/user_input.h"

#include "base/utf8.h"
#include "sound/path_presets.h"

#include <algorithm>
#include <cmath>

namespace tessaly {

template <class C, class Act>
InputResult UserInput::act(const std::string& name, UserAction action, Act&& what) {
    Control* c = session_.controls().find(name);
    if (!c) return InputResult::UnknownControl;
    if (!c->takes(action)) return InputResult::NotApplicable;
    if (!c->enabled && action != UserAction::Hover) return InputResult::Ignored;
    // takes() has checked the kind, so the cast is to what the control is.
    what(static_cast<C&>(*c));
    return InputResult::Done;
}

InputResult UserInput::click(const std::string& name) {
    return act<Control>(name, UserAction::Click, [](Control& c) { c.userClick(); });
}

void UserInput::key(TextBox& box, char32_t key) {
    int keyAscii = static_cast<int>(key);
    if (box.onKeyPress) {
        box.onKeyPress(keyAscii);
        if (keyAscii == 0) return;
    }
    if (keyAscii == 8) {
        box.setText(withoutLastCharacter(box.text()));
    } else if (keyAscii == 13 || keyAscii == 10) {
        if (box.multiLine) box.setText(box.text() + (keyAscii == 13 ? "\r\n" : "\n"));
    } else if (keyAscii >= 32 || keyAscii == 9) {
        box.setText(box.text() + encodeUtf8(static_cast<char32_t>(keyAscii)));
    }
}

InputResult UserInput::pressKey(const std::string& name, char32_t k) {
    return act<TextBox>(name, UserAction::Key, [&](TextBox& box) { key(box, k); });
}

InputResult UserInput::type(const std::string& name, const std::string& text) {
    // Key by key: a key may disable the box (Enter after the last answer), and
    // the keys after it are then ignored, as they would be in the window.
    if (text.empty()) return act<TextBox>(name, UserAction::Key, [](TextBox&) {});
    for (char32_t k : decodeUtf8(text))
        if (const InputResult r = pressKey(name, k); r != InputResult::Done) return r;
    return InputResult::Done;
}

InputResult UserInput::setText(const std::string& name, const std::string& text) {
    return act<TextBox>(name, UserAction::SetText, [&](TextBox& box) { box.setText(text); });
}

InputResult UserInput::paste(const std::string& name, const std::string& text) {
    return act<TextBox>(name, UserAction::Key, [&](TextBox& box) {
        std::string pasted;
        for (char32_t cp : decodeUtf8(text)) {
            if (cp < 32 || cp == 127) continue;
            int keyAscii = static_cast<int>(cp);
            if (box.onKeyPress) box.onKeyPress(keyAscii);
            if (keyAscii >= 32) pasted += encodeUtf8(static_cast<char32_t>(keyAscii));
        }
        box.setText(box.text() + pasted);
    });
}

InputResult UserInput::slide(const std::string& name, int value) {
    return act<Slider>(name, UserAction::Slide, [&](Slider& s) {
        value = std::clamp(value, s.min, s.max);
        if (value == s.value) return;
        s.value = value;
        if (s.onChange) s.onChange();
    });
}

InputResult UserInput::scroll(const std::string& name, int value) {
    return act<Slider>(name, UserAction::Slide, [&](Slider& s) {
        s.value = std::clamp(value, s.min, s.max);
        if (s.onScroll) s.onScroll();
    });
}

InputResult UserInput::endScroll(const std::string& name) {
    return act<Slider>(name, UserAction::Slide, [](Slider& s) {
        if (s.onChange) s.onChange();
    });
}

InputResult UserInput::hover(const std::string& name) {
    return act<Control>(name, UserAction::Hover, [](Control& c) {
        if (c.kind == ControlKind::ListView) {
            auto& list = static_cast<ListView&>(c);
            if (list.onMouseMove) list.onMouseMove();
        }
    });
}

InputResult UserInput::replay(int row) { return session_.replay(row) ? InputResult::Done : InputResult::Ignored; }

void UserInput::setDrill(bool on) { session_.review().setDrill(on); }

void UserInput::setRecord(bool on) { session_.review().setRecord(on); }

void UserInput::deleteRecord() { session_.review().deleteRecord(); }

InputResult UserInput::exportResults(const std::string& path, bool* written) {
    if (written) *written = false;
    if (session_.practice().practising() || !session_.review().canExport()) return InputResult::Ignored;
    const bool done = session_.review().exportResults(path);
    if (written) *written = done;
    return InputResult::Done;
}

InputResult UserInput::setSnr(std::optional<double> snrDb) {
    if (snrDb && !(std::isfinite(*snrDb) && *snrDb >= -60 && *snrDb <= 60)) return InputResult::NotApplicable;
    if (session_.band().snrSetting() == snrDb) return InputResult::Done;
    session_.setSnr(snrDb);
    return InputResult::Done;
}

InputResult UserInput::setPath(const std::string& preset) {
    if (!findPathPreset(preset)) return InputResult::NotApplicable;
    if (session_.band().path() == preset) return InputResult::Done;
    session_.setPath(preset);
    return InputResult::Done;
}

InputResult UserInput::setPassband(bool on) {
    if (session_.band().passband() == on) return InputResult::Done;
    session_.setReceiver(on, session_.band().agc());
    return InputResult::Done;
}

InputResult UserInput::setAgc(const std::string& speed) {
    if (std::find(agcNames().begin(), agcNames().end(), speed) == agcNames().end()) return InputResult::NotApplicable;
    if (session_.band().agc() == speed) return InputResult::Done;
    session_.setReceiver(session_.band().passband(), speed);
    return InputResult::Done;
}

InputResult UserInput::setThreshold(bool on) {
    session_.armThreshold(on);
    return InputResult::Done;
}

InputResult UserInput::setSpeaker(const std::string& choice) {
    PracticeSettings s;
    std::string error;
    if (!setSettingsField(s, "speaker", choice, error)) return InputResult::NotApplicable;
    session_.setSpeaker(choice);
    return InputResult::Done;
}

InputResult UserInput::setFigures(bool on) {
    session_.setFigures(on);
    return InputResult::Done;
}

InputResult UserInput::setPileup(int stations) {
    if (stations != 0 && (stations < Pileup::kFewestStations || stations > Pileup::kMostStations))
        return InputResult::NotApplicable;
    if (session_.practice().practising()) return InputResult::Ignored;
    session_.setPileup(stations);
    return InputResult::Done;
}

InputResult UserInput::setPileupStream(bool on) {
    if (session_.practice().practising()) return InputResult::Ignored;
    session_.setPileupStream(on);
    return InputResult::Done;
}

void UserInput::close() { session_.Form_Unload(); }

}  // namespace tessaly
