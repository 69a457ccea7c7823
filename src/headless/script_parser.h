#pragma once
// The headless host's script language: one action a line, "#" starts a comment,
// strings in double quotes with \r \n \b \\ \" escapes.
#include "practice/controls.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

struct ScriptAction {
    enum class Kind {
        Click, Type, SetText, Slide, Hover, Wait, Dump, Close, Replay, Drill, Export,
        Snr, Path, Passband, Agc, Threshold,  // additions: the received channel and the threshold run
        Pileup, PileupStream,                 // a pile-up: its stations (0: none), a steady stream
        Speaker, Digits,                      // whose voice reads; the digits as figure code words (1) or not
        Record,  // the learning record: on, off or delete
    };
    Kind kind = Kind::Dump;
    int line = 0;        // 1-based line of the script
    std::string target;  // control name
    std::string text;    // type, settext, export (the file); record: on, off or delete
    std::int64_t number = 0;  // slide value, wait milliseconds, replay row, pile-up stations; drill, passband, threshold, digits 1 (on) or 0 (off)
    std::optional<double> snrDb;  // snr: unset for "snr off"
};

struct ScriptError {
    int line = 0;
    std::string message;
};

// Parses one line; nullopt for blank or comment-only lines. Throws ScriptError.
std::optional<ScriptAction> parseScriptLine(const std::string& line, int lineNumber);

// What a script may be: a line a group count of 30000 digits fits in, and a total
// far past any practice's script. Past either it is no script (/dev/zero, a
// recording given by mistake) and is refused with the line it got to.
constexpr std::size_t kLongestScriptLine = 64 * 1024;  // bytes, without the LF
constexpr std::size_t kLargestScript = 16 * 1024 * 1024;  // bytes

// Parses one line and checks its control against the form's controls (it exists
// and takes the action). Throws ScriptError.
std::optional<ScriptAction> parseCheckedLine(const std::string& line, int lineNumber, const ControlRegistry& controls);

// The lines of a script as they arrive, within the bounds a script keeps (a line's
// length, the whole's size). Throws ScriptError past them or on a read error; after
// an over-long line, the next call goes on after its end.
class ScriptReader {
public:
    explicit ScriptReader(std::istream& in);
    std::optional<std::string> next();  // nullopt at the end
    int line() const { return number_; }  // of the line next() gave last

private:
    std::istream& in_;
    int number_ = 0;
    std::size_t total_ = 0;
    bool skipping_ = false;  // in the rest of an over-long line
};

// Parses a whole script and checks every action's control against the form's
// controls, so that a bad script is refused before anything runs. Throws
// ScriptError naming the first bad line.
std::vector<ScriptAction> parseScript(std::istream& in, const ControlRegistry& controls);

}  // namespace tessaly
