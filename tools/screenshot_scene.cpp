// Not a test: puts the window on the screen after a whole practice (ten callsigns,
// eight copied right, marked, the wrong characters shown), for docs/screenshot.png
// and docs/screenshot-2x.png; the script rests the pointer on the list so that the
// summary tooltip shows.
// The practice runs in virtual time with a fixed seed, so the picture repeats.
// With "analysis", three earlier practices give the error analysis window beside it
// something to show, for docs/analysis.png.
// With "threshold", a threshold run of a learner whose halfway point is -4 dB, for
// docs/threshold.png: the result box beside the marked list.
// usage: tessaly_screenshot_scene [SECONDS_ON_SCREEN [analysis|threshold]]
#include "engine/offline_sound.h"
#include "practice/answers.h"
#include "practice/virtual_clock.h"
#include "shell/qt/answer_list.h"
#include "shell/qt/desktop_session.h"
#include "sound/tracing_sound.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include <cctype>
#include <cmath>
#include <functional>
#include <random>
#include <string>

using namespace tessaly;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    const bool analysis = argc > 2 && std::string(argv[2]) == "analysis";
    const bool threshold = argc > 2 && std::string(argv[2]) == "threshold";

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
    MainForm& form = session.form();
    UserInput& input = session.input();

    // One practice: each callsign answered as a learner would, `hear` giving the copy.
    auto practise = [&](const char* groups, const std::function<std::string(int row, std::string)>& hear) {
        input.setText("Text2", groups);
        input.click("Command4");
        const std::string text = form.Text1.text();
        const int rows = form.groupCount;
        for (int row = 1; row <= rows; ++row) {
            for (int ms = 0; ms < 60'000 && form.practising && !form.waitingForAnswer; ms += 100) clock.advance(100);
            const auto begin = row == 1 ? 0 : [&] {
                std::size_t at = 0;
                for (int r = 1; r < row; ++r) at = text.find("\r\n", at) + 2;
                return at;
            }();
            std::string answer = hear(row, ExpectedCopy(text.substr(begin, text.find("\r\n", begin) - begin)));
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
    std::mt19937 listener(7);
    if (threshold) {
        input.setThreshold(true);
        // Copies a callsign with a logistic chance around -4 dB (10 % a dB there).
        practise("20", [&](int row, std::string answer) {
            const double snr = form.callsignSnrDb.value_or(0);
            (void)row;
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
    if (analysis) window.move(20, 40);  // room for the analysis on its right
    window.show();
    if (analysis) window.showAnalysis();  // it opens beside the window
    if (threshold) {
        window.move(20, 40);  // room for the result on its right
        if (QMessageBox* box = session.host().thresholdBox()) box->move(window.frameGeometry().right() + 20, 200);
    }
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    return QApplication::exec();
}
