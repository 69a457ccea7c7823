#include "headless/script_runner.h"

#include "base/output_file.h"
#include "base/output_room.h"
#include "base/utf8.h"
#include "engine/wav_output.h"
#include "form/learning_start.h"
#include "headless/command_line.h"
#include "headless/headless_session.h"
#include "headless/json_dump.h"
#include "headless/script_parser.h"
#include "headless/voice_pack_option.h"
#include "learning/own_files.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace tessaly {

using Json = nlohmann::ordered_json;

namespace {

CommandLine scriptCommandLine(ScriptOptions& o) {
    return CommandLine(
        "script", "FILE [options]",
        "Runs the practice window's logic from a script of user actions, without a window, in virtual time,\n"
        "and prints what happens as JSON Lines.",
        {"FILE        the script, one action a line ('-' reads standard input)"},
        {seedOption("fix the random source, so that a run repeats exactly", o.seed),
         flagOption("--trace", "also print every sound operation", o.trace),
         textOption("--wav", "OUT.wav", "write what a listener would hear (48000 Hz, 16-bit)", o.wavPath),
         flagOption("--live", "run in real time on the sound device", o.live),
         flagOption("--interactive", "run each action as it arrives (from '-', standard input) and print its\n"
                                     "                 events at once; a bad line is an \"error\" event and the run goes on", o.interactive),
         textOption("--voices", "DIR", "read the clips found in this voice pack instead of the built-in ones",
                    o.voicesPath),
         flagOption("--record", "use the learning record as the window does: on when the window left it\n"
                                "                 on, with the drill as it was (without it, only the script's\n"
                                "                 'record on' uses the record)", o.record)});
}

Json soundEvent(const SoundOperation& op) {
    Json j{{"event", "sound"}, {"buffer", op.buffer}, {"op", op.op}};
    if (op.op == "create") j["name"] = op.name;
    else if (op.op == "play") j["loop"] = op.loop;
    else if (op.op == "volume" || op.op == "frequency" || op.op == "noise" || op.op == "snr") j["value"] = op.value;
    else if (op.op == "path") j["name"] = op.name;
    else if (op.op == "receiver") {
        j["passband"] = op.loop;
        j["agc"] = op.name;
    }
    else if (op.op == "eq") {
        j["center"] = op.eq.centerHz;
        j["bandwidth"] = op.eq.bandwidthSemitones;
        j["gain"] = op.eq.gainDb;
    }
    return j;
}

// dB as the results file writes them: to a tenth.
double tenths(double db) { return std::round(db * 10.0) / 10.0; }

const char* describe(InputResult r) {
    switch (r) {
        case InputResult::UnknownControl: return "no control of that name";
        case InputResult::NotApplicable: return "that control does not take this action";
        default: return "";
    }
}

// Prints JSON Lines stamped with virtual time, until muted, or until a line could
// not be written (nobody reads the output, or its disk is full).
class Printer {
public:
    Printer(std::ostream& out, const VirtualClock* clock) : out_(out), clock_(clock) {}
    void setClock(const VirtualClock* clock) { clock_ = clock; }
    void emit(const Json& body, std::int64_t t) {
        if (muted_ || !lost_.empty()) return;
        Json line;
        line["t"] = t;
        for (auto& [key, value] : body.items()) line[key] = value;
        errno = 0;
        out_ << line.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
        out_.flush();
        if (!out_) lost_ = errno != 0 ? std::strerror(errno) : "the output is closed";
    }
    void emit(const Json& body) { emit(body, clock_ ? clock_->nowMs() : 0); }
    void mute() { muted_ = true; }
    // Why the output was lost; "" while it is written.
    const std::string& lost() const { return lost_; }

private:
    std::ostream& out_;
    const VirtualClock* clock_;
    bool muted_ = false;
    std::string lost_;
};

}  // namespace

namespace {

// The script file and the options that exclude each other, once the table has parsed the rest.
bool complete(ScriptOptions& o, const std::vector<std::string>& files, std::string& error) {
    if (files.empty()) {
        error = "no script file given";
        return false;
    }
    if (files.size() > 1) {
        error = "only one script file, please (got \"" + files[0] + "\" and \"" + files[1] + "\")";
        return false;
    }
    if (o.live && !o.wavPath.empty()) {
        error = "--live and --wav do not go together (render to a file, or listen)";
        return false;
    }
    o.scriptPath = files[0];
    return true;
}

// What makes `output` the same file as one the command reads or writes besides;
// "" when nothing does. `what`: "--wav", "export".
std::string clash(const std::string& what, const std::string& output, const ScriptOptions& o,
                  const std::vector<std::string>& packFiles, const std::string& otherOutput) {
    if (const OwnFile own = ownFileAt(output); own != OwnFile::none)
        return what + " names " + ownFileDescription(own) + ": it would replace it";
    if (o.scriptPath == "-" ? isStandardInput(output) : sameFile(output, o.scriptPath))
        return what + " names the script itself (" + output + "): it would replace it";
    if (const std::string* file = sameFileAmong(output, packFiles))
        return what + " names a file of the voice pack (" + *file + "): it would replace it";
    if (!otherOutput.empty() && sameFile(output, otherOutput))
        return what + " names the file --wav writes (" + otherOutput + ")";
    return "";
}

// The virtual time a script runs for: its waits, up to a close.
std::int64_t scriptLengthMs(const std::vector<ScriptAction>& actions) {
    std::int64_t ms = 0;
    for (const ScriptAction& a : actions) {
        if (a.kind == ScriptAction::Kind::Close) break;
        if (a.kind == ScriptAction::Kind::Wait) ms += a.number;
    }
    return ms;
}

}  // namespace

std::optional<ScriptOptions> parseScriptOptions(const std::vector<std::string>& args, std::string& error) {
    ScriptOptions o;
    std::vector<std::string> files;
    if (!scriptCommandLine(o).parse(args, files, error) || !complete(o, files, error)) return std::nullopt;
    return o;
}

int runScript(const ScriptOptions& options, std::istream& script, std::ostream& out, std::ostream& err) {
    const std::vector<std::string> packFiles = voicePackInputs(options.voicesPath);
    if (const std::string error = options.wavPath.empty() ? "" : clash("--wav", options.wavPath, options, packFiles, "");
        !error.empty()) {
        err << "tessaly script: " << printable(error) << '\n';
        return 2;
    }
    auto waves = wavesWithVoicePack("script", options.voicesPath, err);
    if (!waves) return 2;
    Printer printer(out, nullptr);
    bool ended = false;
    HeadlessSession::Options so;
    so.seed = options.seed;
    so.waves = std::move(*waves);
    so.output = !options.wavPath.empty() ? HeadlessSession::Output::Wav
                : options.live           ? HeadlessSession::Output::Live
                                         : HeadlessSession::Output::None;
    // The WAV file is written beside its place and moved there once complete.
    std::unique_ptr<OutputFile> wavFile;
    if (!options.wavPath.empty()) {
        std::string error;
        if (!(wavFile = OutputFile::create(options.wavPath, error))) {
            err << "tessaly script: cannot write " << options.wavPath << ": " << error << '\n';
            return 1;
        }
        so.wavPath = wavFile->temporaryPath();
    }
    so.onEvent = [&](const HostEvent& e) {
        switch (e.kind) {
            case HostEvent::Kind::MessageBox:
                printer.emit({{"event", "msgbox"}, {"title", e.title}, {"text", e.text}}, e.t);
                break;
            case HostEvent::Kind::ClipStarted:
                printer.emit({{"event", "clip"}, {"name", e.name}, {"volume", e.volume}, {"frequency", e.frequency}}, e.t);
                break;
            case HostEvent::Kind::Quit:
                printer.emit({{"event", "exit"}, {"how", "quit"}}, e.t);
                ended = true;
                break;
            case HostEvent::Kind::About: printer.emit({{"event", "about"}}, e.t); break;
            case HostEvent::Kind::Trial:
                printer.emit({{"event", "trial"}, {"n", e.trial}, {"snrDb", tenths(e.snrDb)}}, e.t);
                break;
            case HostEvent::Kind::Threshold:
                printer.emit({{"event", "threshold"},
                              {"snrDb", tenths(e.snrDb)},
                              {"se", tenths(e.se)},
                              {"trials", e.trial},
                              {"wholeSnrDb", tenths(e.threshold.wholeSnrDb)},
                              {"slope", tenths(100 * e.threshold.slope)},
                              {"method", e.threshold.method}},
                             e.t);
                break;
            case HostEvent::Kind::Question:
                printer.emit({{"event", "question"}, {"title", e.title}, {"text", e.text}, {"answer", e.yes ? "yes" : "no"}},
                             e.t);
                break;
            case HostEvent::Kind::Practice: {
                Json body{{"event", e.practice.name}};
                for (const auto& [name, value] : e.practice.fields)
                    std::visit([&body, &name](const auto& v) { body[name] = v; }, value);
                printer.emit(body, e.t);
                break;
            }
            case HostEvent::Kind::Focus: break;
        }
    };
    so.onDeviceChange = [&](std::int64_t t, SoundState state) {
        printer.emit({{"event", "device"}, {"state", state == SoundState::Device ? "playing" : "silent"}}, t);
    };
    if (options.trace) so.onSound = [&](std::int64_t t, const SoundOperation& op) { printer.emit(soundEvent(op), t); };
    std::unique_ptr<HeadlessSession> session;
    try {
        session = std::make_unique<HeadlessSession>(std::move(so));
    } catch (const std::exception& e) {
        // Only the WAV output can fail to open; the live sound falls back to silence.
        if (!options.wavPath.empty())
            err << "tessaly script: cannot write " << printable(options.wavPath) << ": " << e.what() << '\n';
        else
            err << "tessaly script: cannot start the sound: " << e.what() << '\n';
        return 1;
    }
    printer.setClock(&session->clock());

    const auto exportClash = [&](const ScriptAction& a) {
        return a.kind == ScriptAction::Kind::Export ? clash("export", a.text, options, packFiles, options.wavPath)
                                                    : std::string();
    };
    std::vector<ScriptAction> actions;
    if (!options.interactive) {
        try {
            actions = parseScript(script, session->form().controls().registry());
        } catch (const ScriptError& e) {
            err << "tessaly script: " << printable(options.scriptPath) << " line " << e.line << ": "
                << printable(e.message) << '\n';
            return 2;
        }
        for (const ScriptAction& a : actions) {
            if (const std::string error = exportClash(a); !error.empty()) {
                err << "tessaly script: " << printable(options.scriptPath) << " line " << a.line << ": "
                    << printable(error) << '\n';
                return 2;
            }
        }
    }
    if (wavFile && !options.interactive) {
        // Refused before anything is rendered: a sound longer than any practice, or
        // one its file system has no room for.
        const std::int64_t ms = scriptLengthMs(actions);
        std::string problem = roomProblem(options.wavPath, wavFileBytes(ms));
        if (ms > kLongestWavSeconds * 1000)
            problem = "the script runs for " + std::to_string(ms / 3600000) +
                      " hours of virtual time, longer than a WAV output may be (" +
                      std::to_string(kLongestWavSeconds / 3600) + " hours)";
        if (!problem.empty()) {
            err << "tessaly script: cannot write " << printable(options.wavPath) << ": " << problem << '\n';
            return 1;
        }
    }

    session->load();
    UserInput& input = session->input();
    // Asked for, a learning record left on keeps recording, and the drill its
    // course; the script sets up its own practice, so the last practice's settings
    // stay put. Otherwise a script's result does not depend on who runs it.
    if (options.record) restoreLearning(input, session->form(), RestoredSettings::RecordAndDrill);
    // One action; "" when it was done (or ignored, which is said), else what was wrong.
    const auto run = [&](const ScriptAction& a) -> std::string {
        using K = ScriptAction::Kind;
        InputResult r = InputResult::Done;
        switch (a.kind) {
            case K::Click: r = input.click(a.target); break;
            case K::Type: r = input.type(a.target, a.text); break;
            case K::SetText: r = input.setText(a.target, a.text); break;
            case K::Slide: r = input.slide(a.target, static_cast<int>(a.number)); break;
            case K::Hover: r = input.hover(a.target); break;
            case K::Wait:
                // An interactive run's length is known only as it goes: the same bound.
                if (options.interactive && wavFile && session->clock().nowMs() + a.number > kLongestWavSeconds * 1000)
                    return "the WAV output would pass " + std::to_string(kLongestWavSeconds / 3600) + " hours";
                session->wait(a.number);
                break;
            case K::Dump: printer.emit({{"dump", dumpState(session->form())}}); break;
            case K::Replay: r = input.replay(static_cast<int>(a.number)); break;
            case K::Drill: input.setDrill(a.number == 1); break;
            case K::Export: r = input.exportResults(a.text); break;
            case K::Snr: r = input.setSnr(a.snrDb); break;
            case K::Path: r = input.setPath(a.text); break;
            case K::Passband: r = input.setPassband(a.number == 1); break;
            case K::Agc: r = input.setAgc(a.text); break;
            case K::Threshold: r = input.setThreshold(a.number == 1); break;
            case K::Pileup: r = input.setPileup(static_cast<int>(a.number)); break;
            case K::PileupStream: r = input.setPileupStream(a.number == 1); break;
            case K::Speaker: r = input.setSpeaker(a.text); break;
            case K::Digits: r = input.setFigures(a.number == 1); break;
            case K::Record:
                if (a.text == "delete") input.deleteRecord();
                else input.setRecord(a.text == "on");
                break;
            case K::Close:
                input.close();
                printer.emit({{"event", "exit"}, {"how", "close"}});
                ended = true;
                break;
        }
        if (r == InputResult::Ignored) {
            Json ignored{{"event", "ignored"}, {"name", a.target}};
            if (a.kind == ScriptAction::Kind::Replay) ignored = {{"event", "ignored"}, {"action", "replay"}, {"row", a.number}};
            if (a.kind == ScriptAction::Kind::Export) ignored = {{"event", "ignored"}, {"action", "export"}, {"file", a.text}};
            if (a.kind == ScriptAction::Kind::Pileup || a.kind == ScriptAction::Kind::PileupStream)
                ignored = {{"event", "ignored"}, {"action", "pileup"}};
            printer.emit(ignored);
        } else if (r != InputResult::Done) {
            return describe(r);
        }
        return "";
    };
    // The run stops at once when its output or its sound can no longer be written.
    const auto lost = [&] { return !printer.lost().empty() || session->soundLost(); };
    if (!options.interactive) {
        for (const ScriptAction& a : actions) {
            if (ended || lost()) break;
            if (const std::string problem = run(a); !problem.empty()) {
                err << "tessaly script: " << options.scriptPath << " line " << a.line << ": " << problem << '\n';
                return 2;
            }
        }
    } else {
        // Each line runs as it arrives; a bad one is said as an event, and the run goes on.
        const auto bad = [&](int line, const std::string& message) {
            printer.emit({{"event", "error"}, {"line", line}, {"message", printable(message)}});
        };
        ScriptReader reader(script);
        while (!ended && !lost()) {
            std::optional<ScriptAction> a;
            try {
                const auto line = reader.next();
                if (!line) break;
                a = parseCheckedLine(*line, reader.line(), session->form().controls().registry());
            } catch (const ScriptError& e) {
                bad(e.line, e.message);
                if (e.message.find("could not be read") != std::string::npos || e.message.find("MiB") != std::string::npos)
                    break;  // the input itself is gone or endless
                continue;
            }
            if (!a) continue;
            if (const std::string problem = exportClash(*a); !problem.empty()) {
                bad(a->line, problem);
                continue;
            }
            if (const std::string problem = run(*a); !problem.empty()) bad(a->line, problem);
            if (session->soundLost()) bad(a->line, "the sound could not be written to " + options.wavPath + "; the run stops");
        }
    }
    if (!printer.lost().empty()) {
        err << "tessaly script: cannot write the output: " << printer.lost() << '\n';
        return 1;
    }
    // What is left at the end of the script is not the program's doing: say nothing of it.
    printer.mute();
    // Only a WAV output has anything left to write.
    std::string error;
    if (!session->finish(error) || (wavFile && !wavFile->commit(error))) {
        err << "tessaly script: cannot write " << printable(options.wavPath) << ": " << error << '\n';
        return 1;
    }
    return 0;
}

int scriptCommand(const std::vector<std::string>& args) {
    ScriptOptions o;
    return scriptCommandLine(o).main(args, [&](const std::vector<std::string>& files) {
        std::string error;
        if (!complete(o, files, error)) {
            std::cerr << "tessaly script: " << error << "\n(tessaly script --help lists the options)\n";
            return 2;
        }
        removeTemporaryFilesOnInterrupt();
        if (o.scriptPath == "-") return runScript(o, std::cin, std::cout, std::cerr);
        std::error_code ec;
        if (std::filesystem::is_directory(o.scriptPath, ec)) {
            std::cerr << "tessaly script: " << o.scriptPath << " is a directory, not a script\n";
            return 2;
        }
        std::ifstream file(o.scriptPath);
        if (!file) {
            std::cerr << "tessaly script: cannot read " << o.scriptPath << ": " << std::strerror(errno) << '\n';
            return 2;
        }
        return runScript(o, file, std::cout, std::cerr);
    });
}

}  // namespace tessaly
