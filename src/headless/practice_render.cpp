#include "headless/practice_render.h"

#include "practice/answers.h"
#include "practice/main_form.h"
#include "practice/user_input.h"
#include "practice/virtual_clock.h"
#include "sources/lines.h"
#include "speech/engine/sound_outputs.h"

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <limits>
#include <map>
#include <tuple>

namespace tessaly {
namespace {

const char* kUsage =
    "usage: tessaly render --out FILE.wav [options]\n"
    "  --out FILE.wav            where to write the practice (required)\n"
    "  --key FILE.txt            write the answer key: row number and callsign a line\n"
    "  --groups N                callsigns in the practice, 1..500 (20)\n"
    "  --source random|library   invented callsigns, or real ones from the library (random)\n"
    "  --words exam|standard|places|other|mixed   phonetic words for letters (exam)\n"
    "  --speed 0..10             0 reads fastest, 10 slowest (5: 1.1 s a character)\n"
    "  --tone 80..5000           centre of the voice's tone boost in Hz (2500)\n"
    "  --noise off|S1..S5        band noise level (off)\n"
    "  --qrn --qrm --qsb         static crackle, an interfering station, fading\n"
    "  --vary-noise --vary-speed --vary-tone   random variation while reading\n"
    "  --mode grouped|continuous pause after each callsign, or read straight on (grouped)\n"
    "  --answer-pause SECONDS    grouped: the pause left for each answer (4)\n"
    "  --seed N                  the same practice every time\n";

// Nobody watches a render: the options are checked before any control is set,
// so a message box would mean a fault worth seeing on the terminal.
class RenderHost final : public FormHost {
public:
    void messageBox(const std::string& title, const std::string& text) override {
        std::cerr << "tessaly render: " << title << ": " << text << '\n';
    }
};

std::optional<long long> wholeNumber(const std::string& text) {
    try {
        std::size_t used = 0;
        const long long v = std::stoll(text, &used);
        if (used == text.size()) return v;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

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

}  // namespace

std::optional<RenderOptions> parseRenderOptions(const std::vector<std::string>& args, std::string& error) {
    RenderOptions o;
    const std::map<std::string, int> words = {{"exam", 4}, {"standard", 0}, {"places", 1}, {"other", 2}, {"mixed", 3}};
    const std::map<std::string, int> noise = {{"off", 0}, {"S1", 1}, {"S2", 2}, {"S3", 3}, {"S4", 4}, {"S5", 5}};
    const std::map<std::string, std::tuple<int RenderOptions::*, long long, long long>> numbers = {
        {"--groups", {&RenderOptions::groups, 1, 500}},
        {"--speed", {&RenderOptions::speed, 0, 10}},
        {"--tone", {&RenderOptions::tone, 80, 5000}}};
    const std::map<std::string, bool RenderOptions::*> flags = {
        {"--qrn", &RenderOptions::qrn},           {"--qrm", &RenderOptions::qrm},
        {"--qsb", &RenderOptions::qsb},           {"--vary-noise", &RenderOptions::varyNoise},
        {"--vary-speed", &RenderOptions::varySpeed}, {"--vary-tone", &RenderOptions::varyTone}};
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (auto f = flags.find(a); f != flags.end()) {
            o.*(f->second) = true;
            continue;
        }
        if (i + 1 >= args.size() || a.rfind("--", 0) != 0) {
            error = a.rfind("--", 0) == 0 ? a + " needs a value" : "unexpected argument \"" + a + "\"";
            return std::nullopt;
        }
        const std::string v = args[++i];
        auto number = [&](long long lo, long long hi) -> std::optional<long long> {
            auto n = wholeNumber(v);
            if (!n || *n < lo || *n > hi) {
                error = a + " takes a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) +
                        ", not \"" + v + "\"";
                return std::nullopt;
            }
            return n;
        };
        if (auto n = numbers.find(a); n != numbers.end()) {
            const auto& [member, lo, hi] = n->second;
            auto value = number(lo, hi);
            if (!value) return std::nullopt;
            o.*member = static_cast<int>(*value);
        } else if (a == "--seed") {
            auto n = number(0, std::numeric_limits<long long>::max());
            if (!n) return std::nullopt;
            o.seed = static_cast<std::uint64_t>(*n);
        } else if (a == "--source") {
            if (v != "random" && v != "library") {
                error = "--source is random or library, not \"" + v + "\"";
                return std::nullopt;
            }
            o.library = v == "library";
        } else if (a == "--words") {
            auto w = words.find(v);
            if (w == words.end()) {
                error = "--words is exam, standard, places, other or mixed, not \"" + v + "\"";
                return std::nullopt;
            }
            o.wordSet = w->second;
        } else if (a == "--noise") {
            auto n = noise.find(v);
            if (n == noise.end()) {
                error = "--noise is off, S1, S2, S3, S4 or S5, not \"" + v + "\"";
                return std::nullopt;
            }
            o.noiseLevel = n->second;
        } else if (a == "--mode") {
            if (v != "grouped" && v != "continuous") {
                error = "--mode is grouped or continuous, not \"" + v + "\"";
                return std::nullopt;
            }
            o.continuous = v == "continuous";
        } else if (a == "--answer-pause") {
            char* end = nullptr;
            const double s = std::strtod(v.c_str(), &end);
            if (v.empty() || *end != '\0' || !std::isfinite(s) || s < 0 || s > 600) {
                error = "--answer-pause takes seconds from 0 to 600, not \"" + v + "\"";
                return std::nullopt;
            }
            o.answerPauseSeconds = s;
        } else if (a == "--out") {
            o.outPath = v;
        } else if (a == "--key") {
            o.keyPath = v;
        } else {
            error = "unknown option " + a;
            return std::nullopt;
        }
    }
    if (o.outPath.empty()) {
        error = "--out FILE.wav is required";
        return std::nullopt;
    }
    return o;
}

namespace {

int render(const RenderOptions& o) {
    VirtualClock clock;
    RenderHost host;
    RandomSource random(o.seed);
    std::string error;
    auto wav = makeWavOutput(o.outPath, {}, [&clock] { return clock.nowMs(); }, error);
    if (!wav) {
        std::cerr << "tessaly render: cannot write " << o.outPath << ": " << error << '\n';
        return 1;
    }
    MainForm form(clock, wav->platform(), random, host);
    UserInput user(form);
    form.Form_Load();

    // Set the window up as a user would.
    user.setText("Text2", std::to_string(o.groups));
    user.click(o.library ? "Option11" : "Option10");
    user.click(form.Option7[o.wordSet].name);
    user.click(o.continuous ? "Option9" : "Option8");
    user.slide("Slider1", o.speed);
    user.slide("Slider2", o.tone);
    user.click("Option" + std::to_string(1 + o.noiseLevel));
    const std::pair<bool, const char*> boxes[] = {{o.qrn, "Check1"},       {o.qrm, "Check2"},
                                                  {o.qsb, "Check3"},       {o.varyNoise, "Check4"},
                                                  {o.varySpeed, "Check5"}, {o.varyTone, "Check6"}};
    for (const auto& [wanted, box] : boxes)
        if (wanted) user.click(box);
    user.click("Command4");

    const std::string practice = form.Text1.text();
    const int groups = form.groupCount;
    const auto pauseMs = static_cast<std::int64_t>(std::llround(o.answerPauseSeconds * 1000));
    Progress progress(groups);
    int answered = 0;
    std::int64_t answerAt = -1;
    while (form.practising) {
        if (form.waitingForAnswer && answerAt < 0) answerAt = clock.nowMs() + pauseMs;
        std::int64_t next = clock.nextDueMs();
        if (answerAt >= 0 && (next < 0 || answerAt <= next)) {
            clock.advance(answerAt - clock.nowMs());
            // Confirm the expected copy, as a user who got it right would.
            user.setText("Text6", ExpectedCopy(readline(practice, answered + 1)));
            user.pressKey("Text6", 13);
            ++answered;
            answerAt = -1;
        } else if (next >= 0) {
            clock.advance(next - clock.nowMs());
        } else {
            break;  // nothing left to happen
        }
        progress.update(o.continuous ? form.readPos * groups / std::max(form.textLength, 1) : answered);
    }
    // Time to write down the last callsign before the file ends.
    const std::int64_t endMs = clock.nowMs() + (o.continuous ? 2000 : pauseMs);
    wav->renderUntilMs(endMs);
    if (!wav->finish(error)) {
        std::cerr << "tessaly render: cannot write " << o.outPath << ": " << error << '\n';
        return 1;
    }
    if (!o.keyPath.empty()) {
        std::ofstream key(o.keyPath, std::ios::binary);
        for (int row = 1; row <= groups; ++row) key << row << ' ' << ExpectedCopy(readline(practice, row)) << '\n';
        key.close();
        if (!key) {
            std::cerr << "tessaly render: cannot write " << o.keyPath << '\n';
            return 1;
        }
    }
    const std::int64_t seconds = (endMs + 999) / 1000;
    std::cout << o.outPath << ": " << groups << " callsigns, " << seconds / 60 << " min " << seconds % 60 << " s"
              << (o.keyPath.empty() ? "" : ", key in " + o.keyPath) << '\n';
    return 0;
}

}  // namespace

int renderCommand(const std::vector<std::string>& args) {
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    std::string error;
    const auto options = parseRenderOptions(args, error);
    if (!options) {
        std::cerr << "tessaly render: " << error << '\n' << kUsage;
        return 2;
    }
    return render(*options);
}

}  // namespace tessaly
