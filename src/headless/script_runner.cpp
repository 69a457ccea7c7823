#include "headless/script_runner.h"

#include "headless/json_dump.h"
#include "headless/script_parser.h"
#include "practice/main_form.h"
#include "practice/user_input.h"
#include "practice/virtual_clock.h"
#include "speech/engine/sound_outputs.h"
#include "speech/tracing_sound.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <fstream>
#include <iostream>
#include <memory>
#include <thread>

namespace tessaly {

using Json = nlohmann::ordered_json;

namespace {

const char* kUsage =
    "usage: tessaly script FILE [--seed N] [--trace] [--wav OUT.wav] [--live]\n"
    "  FILE        script of user actions, one a line ('-' reads standard input)\n"
    "  --seed N    fix the random source, so a run repeats exactly\n"
    "  --trace     also print every sound operation\n"
    "  --wav OUT   write what a listener would hear to a WAV file (48000 Hz, 16-bit)\n"
    "  --live      run in real time on the sound device\n";

// Prints the window's side of things as JSON Lines, stamped with virtual time.
class ScriptHost final : public FormHost {
public:
    ScriptHost(std::ostream& out, const VirtualClock& clock) : out_(out), clock_(clock) {}

    void emit(Json body) {
        if (muted_) return;
        Json line;
        line["t"] = clock_.nowMs();
        for (auto& [key, value] : body.items()) line[key] = value;
        out_ << line.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
        out_.flush();
    }
    void mute() { muted_ = true; }
    bool ended() const { return ended_; }

    void messageBox(const std::string& title, const std::string& text) override {
        emit({{"event", "msgbox"}, {"title", title}, {"text", text}});
    }
    void clipStarted(const std::string& name, int volume, int frequency) override {
        emit({{"event", "clip"}, {"name", name}, {"volume", volume}, {"frequency", frequency}});
    }
    void quitNow() override {
        emit({{"event", "exit"}, {"how", "quit"}});
        ended_ = true;
    }
    void showAbout() override { emit({{"event", "about"}}); }
    void closed() {
        emit({{"event", "exit"}, {"how", "close"}});
        ended_ = true;
    }

private:
    std::ostream& out_;
    const VirtualClock& clock_;
    bool muted_ = false;
    bool ended_ = false;
};

Json soundEvent(const SoundOperation& op) {
    Json j{{"event", "sound"}, {"buffer", op.buffer}, {"op", op.op}};
    if (op.op == "create") j["name"] = op.name;
    else if (op.op == "play") j["loop"] = op.loop;
    else if (op.op == "volume" || op.op == "frequency") j["value"] = op.value;
    else if (op.op == "eq") {
        j["center"] = op.eq.centerHz;
        j["bandwidth"] = op.eq.bandwidthSemitones;
        j["gain"] = op.eq.gainDb;
    }
    return j;
}

const char* describe(InputResult r) {
    switch (r) {
        case InputResult::UnknownControl: return "no control of that name";
        case InputResult::NotApplicable: return "that control does not take this action";
        default: return "";
    }
}

// Checks every action's control before anything runs, so a bad script prints nothing.
void validate(const std::vector<ScriptAction>& actions, MainForm& form) {
    for (const ScriptAction& a : actions) {
        using K = ScriptAction::Kind;
        if (a.kind == K::Wait || a.kind == K::Dump || a.kind == K::Close) continue;
        if (a.kind == K::Click && (a.target == "mquit" || a.target == "mabout")) continue;
        Control* c = form.control(a.target);
        if (!c) throw ScriptError{a.line, "no control named \"" + a.target + "\""};
        const bool fits = a.kind == K::Click   ? !dynamic_cast<Slider*>(c)
                          : a.kind == K::Slide ? dynamic_cast<Slider*>(c) != nullptr
                          : a.kind == K::Hover ? true
                                               : dynamic_cast<TextBox*>(c) != nullptr;
        if (!fits) throw ScriptError{a.line, "\"" + a.target + "\" does not take this action"};
    }
}

}  // namespace

std::optional<ScriptOptions> parseScriptOptions(const std::vector<std::string>& args, std::string& error) {
    ScriptOptions o;
    bool haveFile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* what) -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                error = a + " needs " + what;
                return std::nullopt;
            }
            return args[++i];
        };
        if (a == "--trace") {
            o.trace = true;
        } else if (a == "--live") {
            o.live = true;
        } else if (a == "--seed") {
            auto v = value("a number");
            if (!v) return std::nullopt;
            try {
                std::size_t used = 0;
                o.seed = std::stoull(*v, &used);
                if (used != v->size() || (*v)[0] == '-') throw std::invalid_argument(*v);
            } catch (const std::exception&) {
                error = "--seed needs a whole number >= 0, not \"" + *v + "\"";
                return std::nullopt;
            }
        } else if (a == "--wav") {
            auto v = value("an output file name");
            if (!v) return std::nullopt;
            o.wavPath = *v;
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            error = "unknown option " + a;
            return std::nullopt;
        } else if (!haveFile) {
            o.scriptPath = a;
            haveFile = true;
        } else {
            error = "only one script file, please (got \"" + o.scriptPath + "\" and \"" + a + "\")";
            return std::nullopt;
        }
    }
    if (!haveFile) {
        error = "no script file given";
        return std::nullopt;
    }
    if (o.live && !o.wavPath.empty()) {
        error = "--live and --wav do not go together (render to a file, or listen)";
        return std::nullopt;
    }
    return o;
}

int runScript(const ScriptOptions& options, std::istream& script, std::ostream& out, std::ostream& err) {
    VirtualClock clock;
    ScriptHost host(out, clock);
    RandomSource random(options.seed);

    std::unique_ptr<OfflineSound> wav;
    std::unique_ptr<LiveSound> live;
    SoundPlatform* inner = nullptr;
    if (!options.wavPath.empty()) {
        std::string error;
        wav = makeWavOutput(options.wavPath, {}, [&clock] { return clock.nowMs(); }, error);
        if (!wav) {
            err << "tessaly: cannot write " << options.wavPath << ": " << error << '\n';
            return 1;
        }
        inner = &wav->platform();
    } else if (options.live) {
        live = openLiveSound();
        if (live) {
            // The first clip comes 1.1 s after Start at the earliest; don't lose it to the device's start-up.
            live->waitForDevice(3000);
            inner = &live->platform();
        }
    }
    TracingSoundPlatform sound(inner, [&](const SoundOperation& op) {
        if (options.trace) host.emit(soundEvent(op));
    });

    auto form = std::make_unique<MainForm>(clock, sound, random, host);
    std::vector<ScriptAction> actions;
    try {
        actions = parseScript(script);
        validate(actions, *form);
    } catch (const ScriptError& e) {
        err << "tessaly: " << options.scriptPath << " line " << e.line << ": " << e.message << '\n';
        return 2;
    }

    // Live runs pace the virtual clock by the wall clock: timers keep the same
    // semantics, and a wait really waits.
    const auto wallStart = std::chrono::steady_clock::now();
    auto advance = [&](std::int64_t ms) {
        if (!options.live) {
            clock.advance(ms);
            return;
        }
        const std::int64_t end = clock.nowMs() + ms;
        while (clock.nowMs() < end && !host.ended()) {
            std::int64_t next = clock.nextDueMs();
            if (next < 0 || next > end) next = end;
            std::this_thread::sleep_until(wallStart + std::chrono::milliseconds(next));
            clock.advance(next - clock.nowMs());
        }
    };

    form->Form_Load();
    UserInput input(*form);
    for (const ScriptAction& a : actions) {
        if (host.ended()) break;
        using K = ScriptAction::Kind;
        InputResult r = InputResult::Done;
        switch (a.kind) {
            case K::Click: r = input.click(a.target); break;
            case K::Type: r = input.type(a.target, a.text); break;
            case K::SetText: r = input.setText(a.target, a.text); break;
            case K::Slide: r = input.slide(a.target, static_cast<int>(a.number)); break;
            case K::Hover: r = input.hover(a.target); break;
            case K::Wait: advance(a.number); break;
            case K::Dump: host.emit({{"dump", dumpState(*form)}}); break;
            case K::Close:
                input.close();
                host.closed();
                break;
        }
        if (r == InputResult::Ignored) host.emit({{"event", "ignored"}, {"name", a.target}});
        else if (r != InputResult::Done) {
            err << "tessaly: " << options.scriptPath << " line " << a.line << ": " << describe(r) << '\n';
            return 2;
        }
    }
    // What is left at the end of the script is not the program's doing: say nothing of it.
    host.mute();
    if (wav) wav->renderUntilMs(clock.nowMs());
    form.reset();
    if (wav) {
        std::string error;
        if (!wav->finish(error)) {
            err << "tessaly: cannot write " << options.wavPath << ": " << error << '\n';
            return 1;
        }
    }
    return 0;
}

int scriptCommand(const std::vector<std::string>& args) {
    std::string error;
    const auto options = parseScriptOptions(args, error);
    if (!options) {
        std::cerr << "tessaly script: " << error << '\n' << kUsage;
        return 2;
    }
    if (options->scriptPath == "-") return runScript(*options, std::cin, std::cout, std::cerr);
    std::ifstream file(options->scriptPath);
    if (!file) {
        std::cerr << "tessaly script: cannot open " << options->scriptPath << '\n';
        return 2;
    }
    return runScript(*options, file, std::cout, std::cerr);
}

}  // namespace tessaly
