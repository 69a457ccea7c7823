#include "headless/script_parser.h"

#include "base/practice_settings.h"
#include "sound/path_presets.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

namespace tessaly {
namespace {

class LineScanner {
public:
    LineScanner(const std::string& line, int number) : s_(line), number_(number) {}

    [[noreturn]] void fail(const std::string& message) const { throw ScriptError{number_, message}; }

    void skipSpaces() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\r')) ++pos_;
    }
    bool atEnd() {
        skipSpaces();
        return pos_ >= s_.size() || s_[pos_] == '#';
    }
    std::string word(const char* what) {
        if (atEnd()) fail(std::string("missing ") + what);
        if (s_[pos_] == '"') fail(std::string("expected ") + what + ", found a quoted string");
        const std::size_t start = pos_;
        while (pos_ < s_.size() && !std::isspace(static_cast<unsigned char>(s_[pos_])) && s_[pos_] != '#') ++pos_;
        return s_.substr(start, pos_ - start);
    }
    std::string quoted() {
        if (atEnd()) fail("missing text in double quotes");
        if (s_[pos_] != '"') fail("text must be in double quotes");
        ++pos_;
        std::string out;
        for (;;) {
            if (pos_ >= s_.size()) fail("unterminated string (missing closing \")");
            const char c = s_[pos_++];
            if (c == '"') return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= s_.size()) fail("unterminated string (backslash at end of line)");
            switch (const char e = s_[pos_++]) {
                case 'r': out += '\r'; break;
                case 'n': out += '\n'; break;
                case 'b': out += '\b'; break;
                case '\\': out += '\\'; break;
                case '"': out += '"'; break;
                default: fail(std::string("unknown escape \\") + e + " (use \\r \\n \\b \\\\ \\\")");
            }
        }
    }
    std::int64_t integer(const char* what, std::int64_t min, std::int64_t max) {
        const std::string w = word(what);
        std::int64_t value = 0;
        const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), value);
        if (ec != std::errc() || end != w.data() + w.size())
            fail(std::string(what) + " must be a whole number, not \"" + w + "\"");
        if (value < min || value > max)
            fail(std::string(what) + " " + w + " is out of range " + std::to_string(min) + ".." + std::to_string(max));
        return value;
    }
    void end() {
        if (!atEnd()) fail("unexpected text after the action: \"" + s_.substr(pos_) + "\"");
    }

private:
    const std::string& s_;
    int number_;
    std::size_t pos_ = 0;
};

}  // namespace

std::optional<ScriptAction> parseScriptLine(const std::string& line, int lineNumber) {
    LineScanner scan(line, lineNumber);
    if (scan.atEnd()) return std::nullopt;
    const std::string verb = scan.word("action");
    ScriptAction a;
    a.line = lineNumber;
    if (verb == "click") {
        a.kind = ScriptAction::Kind::Click;
        a.target = scan.word("control name");
    } else if (verb == "type" || verb == "settext") {
        a.kind = verb == "type" ? ScriptAction::Kind::Type : ScriptAction::Kind::SetText;
        a.target = scan.word("control name");
        a.text = scan.quoted();
    } else if (verb == "slide") {
        a.kind = ScriptAction::Kind::Slide;
        a.target = scan.word("control name");
        a.number = scan.integer("slider value", std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    } else if (verb == "hover") {
        a.kind = ScriptAction::Kind::Hover;
        a.target = scan.word("control name");
    } else if (verb == "wait") {
        a.kind = ScriptAction::Kind::Wait;
        // Up to a year of virtual time.
        a.number = scan.integer("wait time in ms", 0, 366LL * 24 * 3600 * 1000);
    } else if (verb == "dump") {
        a.kind = ScriptAction::Kind::Dump;
    } else if (verb == "close") {
        a.kind = ScriptAction::Kind::Close;
    } else if (verb == "replay") {
        a.kind = ScriptAction::Kind::Replay;
        a.number = scan.integer("row number", std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    } else if (verb == "drill") {
        a.kind = ScriptAction::Kind::Drill;
        const std::string state = scan.word("on or off");
        if (state != "on" && state != "off") scan.fail("drill is on or off, not \"" + state + "\"");
        a.number = state == "on";
    } else if (verb == "export") {
        a.kind = ScriptAction::Kind::Export;
        a.text = scan.quoted();
        if (a.text.empty()) scan.fail("export needs a file name");
    } else if (verb == "snr") {
        a.kind = ScriptAction::Kind::Snr;
        const std::string value = scan.word("a signal-to-noise ratio in dB, or off");
        if (value != "off") {
            PracticeSettings s;
            std::string error;
            if (!setSettingsField(s, "snr", value, error)) scan.fail(error);
            a.snrDb = s.snrDb;
        }
    } else if (verb == "path") {
        a.kind = ScriptAction::Kind::Path;
        a.text = scan.word("a path preset");
        if (!findPathPreset(a.text)) scan.fail("unknown path \"" + a.text + "\" (expected " + pathPresetNames() + ")");
    } else if (verb == "passband" || verb == "threshold") {
        a.kind = verb == "passband" ? ScriptAction::Kind::Passband : ScriptAction::Kind::Threshold;
        const std::string state = scan.word("on or off");
        if (state != "on" && state != "off") scan.fail(verb + " is on or off, not \"" + state + "\"");
        a.number = state == "on";
    } else if (verb == "agc") {
        a.kind = ScriptAction::Kind::Agc;
        a.text = scan.word("off, fast, medium or slow");
        if (std::find(agcNames().begin(), agcNames().end(), a.text) == agcNames().end())
            scan.fail("agc is off, fast, medium or slow, not \"" + a.text + "\"");
    } else if (verb == "pileup") {
        const std::string value = scan.word("a number of stations (2 to 6), off, or stream on|off");
        if (value == "stream") {
            a.kind = ScriptAction::Kind::PileupStream;
            const std::string state = scan.word("on or off");
            if (state != "on" && state != "off") scan.fail("pileup stream is on or off, not \"" + state + "\"");
            a.number = state == "on";
        } else {
            a.kind = ScriptAction::Kind::Pileup;
            PracticeSettings s;
            std::string error;
            if (!setSettingsField(s, "pileup", value, error)) scan.fail(error);
            a.number = s.pileup;
        }
    } else if (verb == "speaker") {
        a.kind = ScriptAction::Kind::Speaker;
        a.text = scan.word("a speaker's name, varied or default");
        PracticeSettings s;
        std::string error;
        if (!setSettingsField(s, "speaker", a.text, error)) scan.fail(error);
    } else if (verb == "digits") {
        a.kind = ScriptAction::Kind::Digits;
        const std::string value = scan.word("set or figures");
        if (value != "set" && value != "figures") scan.fail("digits is set or figures, not \"" + value + "\"");
        a.number = value == "figures";
    } else if (verb == "record") {
        a.kind = ScriptAction::Kind::Record;
        a.text = scan.word("on, off or delete");
        if (a.text != "on" && a.text != "off" && a.text != "delete")
            scan.fail("record is on, off or delete, not \"" + a.text + "\"");
    } else {
        scan.fail("unknown action \"" + verb +
                  "\" (expected click, type, settext, slide, hover, wait, dump, close, replay, drill, export, snr, "
                  "path, passband, agc, threshold, speaker, digits, pileup or record)");
    }
    scan.end();
    return a;
}

namespace {

std::optional<UserAction> userAction(ScriptAction::Kind kind) {
    using K = ScriptAction::Kind;
    switch (kind) {
        case K::Click: return UserAction::Click;
        case K::Type: return UserAction::Key;
        case K::SetText: return UserAction::SetText;
        case K::Slide: return UserAction::Slide;
        case K::Hover: return UserAction::Hover;
        case K::Wait:
        case K::Dump:
        case K::Close:
        case K::Replay:
        case K::Drill:
        case K::Export:
        case K::Snr:
        case K::Path:
        case K::Passband:
        case K::Agc:
        case K::Threshold:
        case K::Pileup:
        case K::PileupStream:
        case K::Speaker:
        case K::Digits:
        case K::Record: break;
    }
    return std::nullopt;
}

}  // namespace

std::optional<ScriptAction> parseCheckedLine(const std::string& line, int number, const ControlRegistry& controls) {
    auto a = parseScriptLine(line, number);
    if (!a) return a;
    if (const auto action = userAction(a->kind)) {
        const Control* c = controls.find(a->target);
        if (!c) throw ScriptError{number, "no control named \"" + a->target + "\""};
        if (!c->takes(*action)) throw ScriptError{number, "\"" + a->target + "\" does not take this action"};
    }
    return a;
}

std::vector<ScriptAction> parseScript(std::istream& in, const ControlRegistry& controls) {
    std::vector<ScriptAction> actions;
    ScriptReader reader(in);
    while (auto line = reader.next())
        if (auto a = parseCheckedLine(*line, reader.line(), controls)) actions.push_back(std::move(*a));
    return actions;
}

ScriptReader::ScriptReader(std::istream& in) : in_(in) {}

std::optional<std::string> ScriptReader::next() {
    std::string line;
    std::streambuf* buffer = in_.rdbuf();
    for (;;) {
        const int c = buffer ? buffer->sbumpc() : std::char_traits<char>::eof();
        if (c == std::char_traits<char>::eof()) {
            in_.setstate(std::ios::eofbit);
            if (in_.bad()) throw ScriptError{number_ + 1, "the script could not be read"};
            if (line.empty()) return std::nullopt;
            break;
        }
        if (++total_ > kLargestScript)
            throw ScriptError{number_ + 1, "the script goes on past " + std::to_string(kLargestScript >> 20) +
                                               " MiB; a script is never that long"};
        if (c == '\n') {
            if (!skipping_) break;
            skipping_ = false;  // the end of an over-long line: the next one starts here
            continue;
        }
        if (skipping_) continue;
        if (line.size() == kLongestScriptLine) {
            // Said at once; the rest of the line is read and dropped with it on the
            // next call, so that no part of it runs as an action of its own.
            skipping_ = true;
            throw ScriptError{++number_, "the line is longer than " + std::to_string(kLongestScriptLine) +
                                             " bytes; a script's line is never that long"};
        }
        line += static_cast<char>(c);
    }
    ++number_;
    return line;
}

}  // namespace tessaly
