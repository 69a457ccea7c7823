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
    };
    Kind kind = Kind::Dump;
    int line = 0;        // 1-based line of the script
    std::string target;  // control name
    std::string text;    // type, settext, export (the file)
    std::int64_t number = 0;  // slide value, wait milliseconds, replay row; drill, passband, threshold 1 (on) or 0 (off)
    std::optional<double> snrDb;  // snr: unset for "snr off"
};

struct ScriptError {
    int line = 0;
    std::string message;
};

// Parses one line; nullopt for blank or comment-only lines. Throws ScriptError.
std::optional<ScriptAction> parseScriptLine(const std::string& line, int lineNumber);

// Parses a whole script and checks every action's control against the form's
// controls, so that a bad script is refused before anything runs. Throws
// ScriptError naming the first bad line.
std::vector<ScriptAction> parseScript(std::istream& in, const ControlRegistry& controls);

}  // namespace tessaly
