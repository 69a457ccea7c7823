#include "headless/practice_render.h"

#include "base/output_file.h"
#include "base/output_room.h"
#include "engine/wav_output.h"
#include "headless/command_line.h"
#include "headless/headless_session.h"
#include "headless/voice_pack_option.h"
#include "learning/own_files.h"
#include "base/speakers.h"
#include "form/setting_controls.h"
#include "practice/expected_copy.h"
#include "practice/reading_pace.h"
#include "sound/path_presets.h"

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace tessaly {
namespace {

// Shows progress on a terminal once rendering takes more than a moment.
class Progress {
public:
    explicit Progress(int total) : total_(total), start_(std::chrono::steady_clock::now()), tty_(isatty(2)) {}
    void update(int done) {
        if (!tty_) return;
        const auto elapsed = std::chrono::steady_clock::now() - start_;
        if (elapsed < std::chrono::milliseconds(300) || done == last_) return;
        last_ = done;
        shown_ = true;
        std::fprintf(stderr, "\rrendering: %d of %d callsigns", done, total_);
        std::fflush(stderr);
    }
    ~Progress() {
        if (shown_) std::fprintf(stderr, "\r%*s\r", 40, "");
    }

private:
    int total_;
    std::chrono::steady_clock::time_point start_;
    bool tty_;
    int last_ = -1;
    bool shown_ = false;
};

// The choices of an option, from the settings' own names.
template <class Value>
std::vector<std::string> namesOf(std::initializer_list<Value> values, std::string_view (*name)(Value)) {
    std::vector<std::string> names;
    for (Value v : values) names.emplace_back(name(v));
    return names;
}

// An option whose value is one of `choices`; the chosen one is set as the setting of that name.
CommandOption choiceOption(const char* option, std::string valueName, std::string help, const char* setting,
                           std::vector<std::string> choices, PracticeSettings& s) {
    return {option, std::move(valueName), std::move(help), [option, setting, choices, &s](const std::string& v) {
                std::size_t i = 0;
                std::string error = takeOneOf(option, v, choices, i);
                if (error.empty()) setSettingsField(s, setting, choices[i], error);
                return error;
            }};
}

CommandOption conditionOption(Condition c, const char* help, PracticeSettings& s) {
    return {"--" + std::string(conditionName(c)), "", help, [c, &s](const std::string&) {
                s.set(c, true);
                return std::string();
            }};
}

CommandLine renderCommandLine(RenderOptions& o) {
    PracticeSettings& s = o.settings;
    auto number = [&s](const char* option, const char* setting, long long lo, long long hi) {
        return [option, setting, lo, hi, &s](const std::string& v) {
            long long n = 0;
            std::string error = takeWholeNumber(option, v, lo, hi, n);
            if (error.empty()) setSettingsField(s, setting, std::to_string(n), error);
            return error;
        };
    };
    return CommandLine(
        "render", "--out FILE.wav [options]",
        "Renders a whole practice to a WAV file and its answer key, with the window's reader and sound;\n"
        "every option defaults to the window's setting.",
        {},
        {textOption("--out", "FILE.wav", "where to write the practice (required)", o.outPath),
         textOption("--key", "FILE.txt", "write the answer key: row number and callsign a line", o.keyPath),
         {"--groups", "N", "callsigns in the practice, 1..500 (20)", number("--groups", "groups", 1, 500)},
         choiceOption("--source", "random|library", "invented callsigns, or real ones from the library (random)",
                      "source", namesOf({CallsignSource::Random, CallsignSource::Library}, &sourceName), s),
         choiceOption("--words", "exam|standard|places|other|mixed", "phonetic words for letters (exam)", "words",
                      namesOf({WordSet::Exam, WordSet::Standard, WordSet::Places, WordSet::Other, WordSet::Mixed},
                              &wordSetName),
                      s),
         {"--speed", "0..10", "0 reads fastest, 10 slowest (5: 1.1 s a character)", number("--speed", "speed", 0, 10)},
         {"--tone", "80..5000", "centre of the voice's tone boost in Hz (2500)", number("--tone", "tone", 80, 5000)},
         choiceOption("--noise", "off|S1..S5", "band noise level (off)", "noise", noiseLevelNames(), s),
         conditionOption(kQrn, "static crackle", s),
         conditionOption(kQrm, "an interfering station", s),
         conditionOption(kQsb, "fading", s),
         conditionOption(kVaryNoise, "random variation of the noise", s),
         conditionOption(kVarySpeed, "random variation of the speed", s),
         conditionOption(kVaryTone, "random variation of the tone", s),
         choiceOption("--mode", "grouped|continuous", "pause after each callsign, or read straight on (grouped)",
                      "mode", namesOf({ReadingMode::Grouped, ReadingMode::Continuous}, &readingModeName), s),
         {"--answer-pause", "SECONDS", "grouped: the pause left for each answer (4)",
          [&o](const std::string& v) {
              char* end = nullptr;
              const double seconds = std::strtod(v.c_str(), &end);
              if (v.empty() || *end != '\0' || !std::isfinite(seconds) || seconds < 0 || seconds > 600)
                  return "--answer-pause takes seconds from 0 to 600, not \"" + v + "\"";
              o.answerPauseSeconds = seconds;
              return std::string();
          }},
         {"--snr", "DB", "band noise at this signal-to-noise ratio instead of a level, -60..60",
          [&s](const std::string& v) {
              std::string error;
              if (!setSettingsField(s, "snr", v, error) || !s.snrDb)
                  return "--snr takes a number of dB from -60 to 60, not \"" + v + "\"";
              return std::string();
          }},
         {"--path", "PRESET", "an ionospheric path for both stations: " + pathPresetNames() + " (off)",
          [&s](const std::string& v) {
              if (!findPathPreset(v)) return "--path must be one of " + pathPresetNames() + ", not \"" + v + "\"";
              s.path = v;
              return std::string();
          }},
         {"--passband", "", "hear it through an SSB receiver's 300-2700 Hz passband",
          [&s](const std::string&) {
              s.passband = true;
              return std::string();
          }},
         choiceOption("--agc", "off|fast|medium|slow", "the receiver's AGC (off)", "agc", agcNames(), s),
         {"--speaker", "NAME|varied", "whose voice reads: one of the built-in speakers (" + speakerNames() +
                                          "), or varied: one for each callsign (each word set's own)",
          [&s](const std::string& v) {
              std::string error;
              if (v == "default" || !setSettingsField(s, "speaker", v, error))
                  return "--speaker must be varied or one of " + speakerNames() + ", not \"" + v + "\"";
              return std::string();
          }},
         choiceOption("--digits", "set|figures", "digits as the word set says them, or as figure code words (set)",
                      "digits", {"set", "figures"}, s),
         {"--pileup", "N", "a pile-up of N stations (2..6) calling at once, --groups rounds of it; nobody answers",
          [&s](const std::string& v) {
              std::string error;
              if (!setSettingsField(s, "pileup", v, error) || s.pileup == 0)
                  return "--pileup takes a number of stations from 2 to 6, not \"" + v + "\"";
              return std::string();
          }},
         {"--pileup-stream", "", "the pile-up's callers as a steady stream: --groups callers in all",
          [&s](const std::string&) {
              s.pileupStream = true;
              return std::string();
          }},
         textOption("--voices", "DIR", "read the clips found in this voice pack instead of the built-in ones", o.voicesPath),
         seedOption("the same practice every time", o.seed)});
}

// Only options: a word that is not one is a mistake.
bool complete(const RenderOptions& o, const std::vector<std::string>& positionals, std::string& error) {
    if (!positionals.empty()) {
        error = "unexpected argument \"" + positionals.front() + "\"";
        return false;
    }
    if (o.outPath.empty()) {
        error = "--out FILE.wav is required";
        return false;
    }
    if (!o.keyPath.empty() && sameFile(o.outPath, o.keyPath)) {
        error = "--key and --out name the same file (" + o.keyPath + "): the key would overwrite the practice";
        return false;
    }
    const std::vector<std::string> packFiles = voicePackInputs(o.voicesPath);
    for (const auto& [option, path] : {std::pair{"--out", &o.outPath}, std::pair{"--key", &o.keyPath}}) {
        if (const OwnFile own = path->empty() ? OwnFile::none : ownFileAt(*path); own != OwnFile::none) {
            error = std::string(option) + " names " + ownFileDescription(own) + ": it would replace it";
            return false;
        }
        if (const std::string* file = path->empty() ? nullptr : sameFileAmong(*path, packFiles)) {
            error = std::string(option) + " names a file of the voice pack (" + *file + "): it would replace it";
            return false;
        }
    }
    return true;
}

// The least the practice can last, in ms: every character read takes a tick of the
// reader at its fastest for these options, every grouped answer its pause.
std::int64_t shortestPracticeMs(const RenderOptions& o, const std::string& text, int groups) {
    // A pile-up's round: every caller's calls, each followed by the listener's while.
    if (o.settings.pileup) return static_cast<std::int64_t>(o.settings.groups) * Pileup::kMostCalls * Pileup::kListenMs;
    std::int64_t characters = 0;
    for (const char c : text) characters += c != '\r' && c != '\n';
    const PracticeSettings& s = o.settings;
    const int tickMs = readerIntervalMs(s.has(kVarySpeed) ? 0 : s.speed);
    const bool continuous = s.mode == ReadingMode::Continuous;
    return characters * tickMs + (continuous ? 0 : groups * std::llround(o.answerPauseSeconds * 1000));
}

}  // namespace

std::optional<RenderOptions> parseRenderOptions(const std::vector<std::string>& args, std::string& error) {
    RenderOptions o;
    std::vector<std::string> positionals;
    if (!renderCommandLine(o).parse(args, positionals, error) || !complete(o, positionals, error)) return std::nullopt;
    return o;
}

namespace {

int cannotWrite(const std::string& path, const std::string& reason) {
    std::cerr << "tessaly render: cannot write " << path << ": " << reason << '\n';
    return 1;
}

int render(const RenderOptions& o) {
    // Both outputs are made as temporary files first: a place that cannot be
    // written is found before the render, and the files already there stay as
    // they are until the new ones are complete.
    auto waves = wavesWithVoicePack("render", o.voicesPath, std::cerr);
    if (!waves) return 2;
    removeTemporaryFilesOnInterrupt();
    std::string error;
    const auto wavFile = OutputFile::create(o.outPath, error);
    if (!wavFile) return cannotWrite(o.outPath, error);
    std::unique_ptr<OutputFile> keyFile;
    if (!o.keyPath.empty() && !(keyFile = OutputFile::create(o.keyPath, error))) return cannotWrite(o.keyPath, error);

    HeadlessSession::Options so;
    so.seed = o.seed;
    so.waves = std::move(*waves);
    so.output = HeadlessSession::Output::Wav;
    so.wavPath = wavFile->temporaryPath();
    // Nobody watches a render: the options are checked before any control is set,
    // so a message box would mean a fault worth seeing on the terminal.
    so.onEvent = [](const HostEvent& e) {
        if (e.kind == HostEvent::Kind::MessageBox) std::cerr << "tessaly render: " << e.title << ": " << e.text << '\n';
    };
    std::unique_ptr<HeadlessSession> session;
    try {
        session = std::make_unique<HeadlessSession>(std::move(so));
    } catch (const std::exception& e) {
        return cannotWrite(o.outPath, e.what());
    }
    session->load();
    UserInput& user = session->input();
    VirtualClock& clock = session->clock();

    // Set the window up as a user would.
    applySettings(user, session->form(), o.settings);
    user.click("Command4");

    const bool continuous = o.settings.mode == ReadingMode::Continuous;
    const PracticeView practice = session->view();
    const std::string text = practice.practiceText();
    const int groups = practice.groupCount();
    const auto pauseMs = static_cast<std::int64_t>(std::llround(o.answerPauseSeconds * 1000));
    if (const std::string problem = roomProblem(o.outPath, wavFileBytes(shortestPracticeMs(o, text, groups)), true);
        !problem.empty())
        return cannotWrite(o.outPath, problem);
    Progress progress(groups);
    int answered = 0;
    std::int64_t answerAt = -1;
    while (practice.practising()) {
        if (practice.waitingForAnswer() && answerAt < 0) answerAt = clock.nowMs() + pauseMs;
        std::int64_t next = clock.nextDueMs();
        if (answerAt >= 0 && (next < 0 || answerAt <= next)) {
            clock.advance(answerAt - clock.nowMs());
            // Confirm the expected copy, as a user who got it right would.
            user.setText("Text6", practice.rows()[static_cast<std::size_t>(answered)].expected);
            user.pressKey("Text6", 13);
            ++answered;
            answerAt = -1;
        } else if (next >= 0) {
            clock.advance(next - clock.nowMs());
        } else {
            break;  // nothing left to happen
        }
        progress.update(continuous ? static_cast<int>(practice.readingProgress() * groups) : answered);
    }
    // Time to write down the last callsign before the file ends.
    clock.advance(continuous ? 2000 : pauseMs);
    const std::int64_t endMs = clock.nowMs();
    // What the key says, kept before the session lets the practice go.
    const std::vector<CallsignRow> rows = practice.rows();
    const std::vector<PileupCall> calls = session->form().pileup().calls();
    const int rounds = session->form().pileup().round();
    if (!session->finish(error)) return cannotWrite(o.outPath, error);
    if (keyFile) {
        // The additions a practice was made with lead the key, as a comment line;
        // without any, the key is the callsigns alone.
        std::string key;
        if (const SettingsFields added = additionFields(o.settings); !added.empty() && !o.settings.pileup)
            key = "# " + settingsLine(added) + "\n";
        if (o.settings.pileup) {
            // One line a call: its round, where its first clip begins (ms into the file),
            // its level below the round's strongest caller (dB), its speaker, its callsign.
            for (const PileupCall& call : calls)
                key += std::to_string(call.round) + ' ' + std::to_string(call.startMs) + ' ' +
                       snrText(call.levelHundredths / 100.0) + ' ' + (call.speaker.empty() ? "default" : call.speaker) +
                       ' ' + ExpectedCopy(call.callsign) + '\n';
        } else {
            // With a speaker chosen, each line names the voice that read it, before the callsign.
            for (int row = 1; row <= groups; ++row) {
                const CallsignRow& r = rows[static_cast<std::size_t>(row - 1)];
                key += std::to_string(row) + ' ';
                if (o.settings.speaker != "default") key += (r.speaker.empty() ? "default" : r.speaker) + ' ';
                key += r.expected + '\n';
            }
        }
        if (!keyFile->write(key, error)) return cannotWrite(o.keyPath, error);
    }
    if (!wavFile->commit(error)) return cannotWrite(o.outPath, error);
    if (keyFile && !keyFile->commit(error)) return cannotWrite(o.keyPath, error);
    const std::int64_t seconds = (endMs + 999) / 1000;
    const std::string what = o.settings.pileup
                                 ? plural(rounds, "round", "rounds") + " of " +
                                       plural(static_cast<int>(rows.size()), "caller", "callers")
                                 : plural(groups, "callsign", "callsigns");
    std::cout << o.outPath << ": " << what << ", " << seconds / 60 << " min "
              << seconds % 60 << " s" << (o.keyPath.empty() ? "" : ", key in " + o.keyPath) << '\n';
    return 0;
}

}  // namespace

int renderCommand(const std::vector<std::string>& args) {
    RenderOptions o;
    return renderCommandLine(o).main(args, [&](const std::vector<std::string>& positionals) {
        std::string error;
        if (!complete(o, positionals, error)) {
            std::cerr << "tessaly render: " << error << "\n(tessaly render --help lists the options)\n";
            return 2;
        }
        return render(o);
    });
}

}  // namespace tessaly
