// Not a test: puts the window on the screen after a whole practice (ten callsigns,
// eight copied right, marked), for docs/screenshot.png; the script rests the
// pointer on the list so that the summary tooltip shows.
// The practice runs in virtual time with a fixed seed, so the picture repeats.
// usage: tessaly_screenshot_scene [SECONDS_ON_SCREEN]
#include "practice/answers.h"
#include "practice/virtual_clock.h"
#include "shell/qt/answer_list.h"
#include "shell/qt/desktop_session.h"
#include "sound/tracing_sound.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include <cctype>
#include <string>

using namespace tessaly;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;

    VirtualClock clock;
    TracingSoundPlatform sound(nullptr, {});
    qt::SessionOptions options;
    options.seed = 2024;
    options.clock = &clock;
    qt::DesktopSession session(sound, std::move(options));
    session.load();
    MainForm& form = session.form();
    UserInput& input = session.input();

    input.setText("Text2", "10");
    input.click("Option3");  // noise S2
    input.click("Check1");   // QRN
    input.click("Check3");   // QSB
    input.click("Command4");
    const std::string text = form.Text1.text();
    for (int row = 1; row <= 10; ++row) {
        for (int ms = 0; ms < 60'000 && form.practising && !form.waitingForAnswer; ms += 100) clock.advance(100);
        const auto begin = row == 1 ? 0 : [&] {
            std::size_t at = 0;
            for (int r = 1; r < row; ++r) at = text.find("\r\n", at) + 2;
            return at;
        }();
        std::string answer = ExpectedCopy(text.substr(begin, text.find("\r\n", begin) - begin));
        if (row == 4) answer[answer.size() / 2] = answer[answer.size() / 2] == 'E' ? 'F' : 'E';  // misheard
        if (row == 8) answer.pop_back();  // missed one
        for (char& c : answer) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        input.type("Text6", answer + "\r");
        clock.advance(700);
    }
    input.hover("ListView1");
    session.window().syncFromModel();

    qt::MainWindow& window = session.window();
    if (QScreen* s = window.screen()) window.move(s->availableGeometry().center() - window.rect().center());
    window.show();
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    return QApplication::exec();
}
