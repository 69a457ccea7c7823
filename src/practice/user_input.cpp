#include "practice/user_input.h"

#include <algorithm>

namespace tessaly {

std::u32string decodeUtf8(const std::string& text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= text.size()) {
            out.push_back(0xFFFD);  // a broken sequence stands for one replacement character
            ++i;
            continue;
        }
        char32_t cp = extra == 0 ? b : b & (0x3F >> extra);
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80) ok = false;
            cp = (cp << 6) | (c & 0x3F);
        }
        out.push_back(ok ? cp : 0xFFFD);
        i += ok ? static_cast<std::size_t>(extra) + 1 : 1;
    }
    return out;
}

std::string encodeUtf8(char32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (cp >> 18));
        s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

namespace {
std::string withoutLastCharacter(const std::string& text) {
    std::u32string cps = decodeUtf8(text);
    if (!cps.empty()) cps.pop_back();
    std::string out;
    for (char32_t c : cps) out += encodeUtf8(c);
    return out;
}
}  // namespace

InputResult UserInput::click(const std::string& name) {
    MainForm& f = form_;
    if (name == "mquit") {
        f.mquit_Click();
        return InputResult::Done;
    }
    if (name == "mabout") {
        f.mabout_Click();
        return InputResult::Done;
    }
    Control* c = f.control(name);
    if (!c) return InputResult::UnknownControl;
    if (!c->enabled) return InputResult::Ignored;
    if (c == &f.Command4) f.Command4_Click();
    else if (c == &f.Command5) f.Command5_Click();
    else if (c == &f.Command1) f.Command1_Click();
    else if (auto* check = dynamic_cast<CheckBox*>(c)) {
        check->value = check->value == 1 ? 0 : 1;
        if (check == &f.Check1) f.Check1_Click();
        else if (check == &f.Check2) f.Check2_Click();
        else if (check == &f.Check3) f.Check3_Click();
        else if (check == &f.Check4) f.Check4_Click();
        else if (check == &f.Check5) f.Check5_Click();
        else if (check == &f.Check6) f.Check6_Click();
    } else if (auto* option = dynamic_cast<OptionButton*>(c)) {
        option->select();
        if (option == &f.Option1) f.Option1_Click();
        else if (option == &f.Option2) f.Option2_Click();
        else if (option == &f.Option3) f.Option3_Click();
        else if (option == &f.Option4) f.Option4_Click();
        else if (option == &f.Option5) f.Option5_Click();
        else if (option == &f.Option6) f.Option6_Click();
    } else if (dynamic_cast<TextBox*>(c) || dynamic_cast<Label*>(c) || dynamic_cast<ListView*>(c)) {
        // Clicking these does nothing of its own.
    } else {
        return InputResult::NotApplicable;
    }
    return InputResult::Done;
}

InputResult UserInput::pressKey(const std::string& name, char32_t key) {
    Control* c = form_.control(name);
    if (!c) return InputResult::UnknownControl;
    auto* box = dynamic_cast<TextBox*>(c);
    if (!box) return InputResult::NotApplicable;
    if (!box->enabled) return InputResult::Ignored;
    int keyAscii = static_cast<int>(key);
    if (box == &form_.Text6) {
        form_.Text6_KeyPress(keyAscii);
        if (keyAscii == 0) return InputResult::Done;
    }
    if (keyAscii == 8) {
        box->setText(withoutLastCharacter(box->text()));
    } else if (keyAscii == 13 || keyAscii == 10) {
        // Single-line boxes take no line breaks; the hidden practice text is multi-line.
        if (box == &form_.Text1) box->setText(box->text() + (keyAscii == 13 ? "\r\n" : "\n"));
    } else if (keyAscii >= 32 || keyAscii == 9) {
        box->setText(box->text() + encodeUtf8(static_cast<char32_t>(keyAscii)));
    }
    return InputResult::Done;
}

InputResult UserInput::type(const std::string& name, const std::string& text) {
    for (char32_t key : decodeUtf8(text)) {
        const InputResult r = pressKey(name, key);
        if (r != InputResult::Done) return r;
    }
    if (text.empty()) {
        Control* c = form_.control(name);
        if (!c) return InputResult::UnknownControl;
        if (!dynamic_cast<TextBox*>(c)) return InputResult::NotApplicable;
        if (!c->enabled) return InputResult::Ignored;
    }
    return InputResult::Done;
}

InputResult UserInput::setText(const std::string& name, const std::string& text) {
    Control* c = form_.control(name);
    if (!c) return InputResult::UnknownControl;
    auto* box = dynamic_cast<TextBox*>(c);
    if (!box) return InputResult::NotApplicable;
    if (!box->enabled) return InputResult::Ignored;
    box->setText(text);
    return InputResult::Done;
}

InputResult UserInput::slide(const std::string& name, int value) {
    Control* c = form_.control(name);
    if (!c) return InputResult::UnknownControl;
    auto* slider = dynamic_cast<Slider*>(c);
    if (!slider) return InputResult::NotApplicable;
    if (!slider->enabled) return InputResult::Ignored;
    value = std::clamp(value, slider->min, slider->max);
    if (value == slider->value) return InputResult::Done;
    slider->value = value;
    if (slider == &form_.Slider1) form_.Slider1_Change();
    else form_.Slider2_Change();
    return InputResult::Done;
}

InputResult UserInput::scroll(const std::string& name, int value) {
    Control* c = form_.control(name);
    if (!c) return InputResult::UnknownControl;
    auto* slider = dynamic_cast<Slider*>(c);
    if (!slider) return InputResult::NotApplicable;
    if (!slider->enabled) return InputResult::Ignored;
    slider->value = std::clamp(value, slider->min, slider->max);
    if (slider == &form_.Slider2) form_.Slider2_Scroll();
    return InputResult::Done;
}

InputResult UserInput::endScroll(const std::string& name) {
    Control* c = form_.control(name);
    if (!c) return InputResult::UnknownControl;
    auto* slider = dynamic_cast<Slider*>(c);
    if (!slider) return InputResult::NotApplicable;
    if (!slider->enabled) return InputResult::Ignored;
    if (slider == &form_.Slider1) form_.Slider1_Change();
    else form_.Slider2_Change();
    return InputResult::Done;
}

InputResult UserInput::hover(const std::string& name) {
    Control* c = form_.control(name);
    if (!c) return InputResult::UnknownControl;
    if (c == &form_.ListView1) form_.ListView1_MouseMove();
    return InputResult::Done;
}

void UserInput::close() { form_.Form_Unload(); }

}  // namespace tessaly
