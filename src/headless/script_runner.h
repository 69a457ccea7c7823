#pragma once
// `tessaly script`: runs the window's logic from a script of user actions, in
// virtual time from t = 0, and prints what happens as JSON Lines.
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

struct ScriptOptions {
    std::string scriptPath;               // "-" for standard input
    std::optional<std::uint64_t> seed;    // fixes the random source
    bool trace = false;                   // print every sound operation
    std::string wavPath;                  // render what a listener hears into this WAV file
    bool live = false;                    // real time on the real sound device
    std::string voicesPath;               // a voice pack in front of the built-in clips
    bool interactive = false;             // run each line as it arrives; a bad one is an event
    bool record = false;                  // the learner's record as the window left it (on, off)
};

// Parses `script` command-line arguments (after the word "script"). On a bad
// argument returns nullopt with a message in `error`.
std::optional<ScriptOptions> parseScriptOptions(const std::vector<std::string>& args, std::string& error);

// Runs a script; returns the exit status (0; 1 when the WAV file or the output
// cannot be written; 2 for a bad script). Without `record`, the learning record and
// its settings file are neither read nor written unless the script says `record`.
int runScript(const ScriptOptions& options, std::istream& script, std::ostream& out, std::ostream& err);

// The command as main() calls it.
int scriptCommand(const std::vector<std::string>& args);

}  // namespace tessaly
