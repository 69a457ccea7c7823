// Not a test: puts the window on the screen after a whole practice (ten callsigns,
// eight copied right, marked, the wrong characters shown), for docs/screenshot.png
// and docs/screenshot-2x.png; the script rests the pointer on the list so that the
// summary tooltip shows.
// The practice runs in virtual time with a fixed seed, so the picture repeats.
// With "analysis", three earlier practices give the error analysis window beside it
// something to show, for docs/analysis.png. With "progress", a learning record of
// five weeks, written by the scene into a home folder of its own (removed at the end),
// gives the 学习进度 window beside it its charts, for docs/progress.png.
// With "threshold", a threshold run of a learner whose halfway point is -4 dB, for
// docs/threshold.png: the result box beside the marked list.
// With "pileup", two rounds of four stations calling at once under S2 noise, worked
// by a learner who answers the strongest station still calling after each call (and
// busts one), leaving those more than 6 dB down: for docs/pileup.png, the list and
// the box with every caller.
// usage: tessaly_screenshot_scene [SECONDS_ON_SCREEN [analysis|progress|threshold|pileup]]
#include "engine/offline_sound.h"
#include "learning/learning_record.h"
#include "learning/review_boxes.h"
#include "practice/virtual_clock.h"
#include "shell/qt/answer_list.h"
#include "shell/qt/desktop_session.h"
#include "sound/tracing_sound.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

using namespace tessaly;

namespace {

// Five weeks of a learner who practises most days, twenty callsigns at a time, and
// gets better: V heard as B, 9 as 5 and D as T less and less often, a slip now and
// then; a threshold run on Sundays. Dates end yesterday, from `today`.
void writeRecord(const std::string& path, const std::string& today) {
    std::mt19937 random(2024);
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ", digits = "0123456789";
    const auto pick = [&](const std::string& from) { return from[random() % from.size()]; };
    const LearningRecord record(path);
    for (int day = -35; day <= -1; ++day) {
        if (random() % 7 == 0) continue;  // a day off
        const double skill = (day + 36) / 35.0;  // 0 .. 1 over the weeks
        PracticeRecord p{addDays(today, day), "20:15:00", "exam", "5", "S2", {"qrn", "qsb"}, {}};
        const bool threshold = day % 7 == 0;
        if (threshold) p.noise = "snr";
        for (int n = 1; n <= 20; ++n) {
            std::string line = {pick("BK"), pick(letters), pick(digits), pick(letters), pick(letters)};
            if (n % 4 == 0) line[3] = 'V';
            if (n % 5 == 0) line[2] = '9';
            if (n % 6 == 0) line[4] = 'D';
            std::string answer = line;
            for (char& c : answer) {
                const double weak = c == 'V' || c == '9' || c == 'D' ? 0.45 : 0.04;
                if (std::uniform_real_distribution<double>(0, 1)(random) < weak * (1.15 - skill))
                    c = c == 'V' ? 'B' : c == '9' ? '5' : c == 'D' ? 'T' : pick(letters);
            }
            p.rows.push_back({n, answer, line, answer == line, line});
        }
        if (threshold) {
            p.thresholdDb = 2.0 - 7.0 * skill + std::uniform_real_distribution<double>(-0.6, 0.6)(random);
            p.thresholdSe = 0.9;
        }
        p.seconds = 600 + static_cast<int>(random() % 300);
        std::string error;
        if (!record.append(p, error)) std::fprintf(stderr, "screenshot scene: %s\n", error.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    const bool analysis = argc > 2 && std::string(argv[2]) == "analysis";
    const bool threshold = argc > 2 && std::string(argv[2]) == "threshold";
    const bool progress = argc > 2 && std::string(argv[2]) == "progress";
    const bool pileup = argc > 2 && std::string(argv[2]) == "pileup";
    // The record's and the settings' folders in a folder of the scene's own.
    std::string folder;
    if (progress) {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessaly_scene_XXXXXX").string();
        if (!::mkdtemp(pattern.data())) return 1;
        folder = pattern;
        // As a home folder, so that the record is where most learners have it.
        ::setenv("HOME", folder.c_str(), 1);
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("XDG_CONFIG_HOME");
    }

    VirtualClock clock;
    // The real engine, rendering nowhere: it knows the voice's and the noise's power,
    // so the threshold run's result can name the level button nearest it.
    const auto offline = makeOfflineSound(48000, [&clock] { return clock.nowMs(); }, nullptr, builtInWaves());
    TracingSoundPlatform sound(&offline->platform(), {});
    qt::SessionOptions options;
    options.seed = 2024;
    options.clock = &clock;
    qt::DesktopSession session(sound, std::move(options));
    session.load();
    const Session& form = session.form();
    UserInput& input = session.input();

    // One practice: each callsign answered as a learner would, `hear` giving the copy.
    auto practise = [&](const char* groups, const std::function<std::string(int row, std::string)>& hear) {
        input.setText("Text2", groups);
        input.click("Command4");
        const int rows = form.practice().groupCount();
        for (int row = 1; row <= rows; ++row) {
            for (int ms = 0; ms < 60'000 && form.practice().practising() && !form.reader().waitingForAnswer(); ms += 100)
                clock.advance(100);
            std::string answer = hear(row, form.practice().rows()[static_cast<std::size_t>(row - 1)].expected);
            for (char& c : answer) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            input.type("Text6", answer + "\r");
            clock.advance(700);
        }
    };
    if (analysis) {
        // Earlier practices of a learner who writes B for V, 5 for 9 and T for D.
        for (int round = 0; round < 3; ++round)
            practise("12", [](int, std::string copy) {
                for (char& c : copy) c = c == 'V' ? 'B' : c == '9' ? '5' : c == 'D' ? 'T' : c;
                return copy;
            });
    }
    if (progress) {
        writeRecord(folder + "/.local/share/tessaly/record.csv", form.review().keeper().today());
        input.setRecord(true);
    }
    std::mt19937 listener(7);
    if (pileup) {
        input.click("Option3");  // noise S2
        input.setPileup(4);
        input.setText("Text2", "2");
        input.click("Command4");
        const Pileup& p = form.pileup();
        std::size_t heard = 0;  // calls begun when last answered
        int answers = 0;
        for (int ms = 0; ms < 600'000 && form.practice().practising(); ms += 100) {
            clock.advance(100);
            const auto timers = p.timers();
            const bool calling = std::any_of(timers.begin() + 1, timers.end(), [](const Timer* t) { return t->enabled(); });
            if (calling || p.calls().size() == heard) continue;
            heard = p.calls().size();
            const PileupCaller* strongest = nullptr;
            for (const PileupCaller& c : p.callers())
                if (c.round == p.round() && c.outcome == PileupCaller::Outcome::Calling && c.caller.levelHundredths >= -600 &&
                    (!strongest || c.caller.levelHundredths > strongest->caller.levelHundredths))
                    strongest = &c;
            if (!strongest) continue;
            std::string typed = strongest->caller.callsign;
            if (++answers == 2) typed.back() = typed.back() == 'A' ? 'B' : 'A';  // misheard
            for (char& c : typed) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            input.type("Text6", typed + "\r");
        }
    } else if (threshold) {
        input.setThreshold(true);
        // Copies a callsign with a logistic chance around -4 dB (10 % a dB there).
        practise("20", [&](int, std::string answer) {
            const double snr = form.band().callsignSnr().value_or(0);
            if (std::uniform_real_distribution<double>(0, 1)(listener) > 1 / (1 + std::exp(-0.4 * (snr + 4))))
                answer[answer.size() - 1] = answer.back() == 'A' ? 'B' : 'A';
            return answer;
        });
    } else {
        input.click("Option3");  // noise S2
        input.click("Check1");   // QRN
        input.click("Check3");   // QSB
        practise("10", [](int row, std::string answer) {
            if (row == 4) answer[answer.size() / 2] = answer[answer.size() / 2] == 'E' ? 'F' : 'E';  // misheard
            if (row == 8) answer.pop_back();  // missed one
            return answer;
        });
    }
    input.hover("ListView1");
    session.window().syncFromModel();

    qt::MainWindow& window = session.window();
    if (QScreen* s = window.screen()) window.move(s->availableGeometry().center() - window.rect().center());
    if (analysis || progress) window.move(20, 40);  // room for the other window on its right
    window.show();
    if (analysis) window.showAnalysis();  // it opens beside the window
    if (threshold) {
        window.move(20, 40);  // room for the result on its right
        if (QMessageBox* box = session.host().thresholdBox()) box->move(window.frameGeometry().right() + 20, 200);
    }
    if (progress) window.showProgress();
    if (QMessageBox* box = pileup ? session.host().pileupBox() : nullptr) {
        window.move(20, 40);
        // Its caller list shown, not behind a button.
        for (QAbstractButton* b : box->buttons())
            if (box->buttonRole(b) == QMessageBox::ActionRole) b->click();
        if (auto* details = box->findChild<QTextEdit*>()) details->setMinimumSize(500, 190);
        // Beside the window once the window manager has placed both.
        QTimer::singleShot(500, box, [box, &window] {
            box->adjustSize();
            box->move(window.frameGeometry().right() + 20, 40);
            box->raise();
        });
    }
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    const int status = QApplication::exec();
    if (!folder.empty()) std::filesystem::remove_all(folder);
    return status;
}
