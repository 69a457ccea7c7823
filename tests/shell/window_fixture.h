#pragma once
// A main window in virtual time with a recording sound platform, a message
// presenter that records instead of waiting for a click, and a recorded quit.
#include "practice/virtual_clock.h"
#include "shell/qt/answer_box.h"
#include "shell/qt/answer_list.h"
#include "shell/qt/desktop_session.h"
#include "sound/tracing_sound.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QString>

#include <string>
#include <vector>

#include <ostream>

// Readable QStrings in the suites' failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace tessaly::qt::testing {

struct Message {
    QString title, text;
};

class WindowFixture {
public:
    explicit WindowFixture(bool realMessageBoxes = false, bool restoreLearning = false)
        : session(sound, options(realMessageBoxes, restoreLearning)) {
        session.load();
    }

    void advance(std::int64_t ms) {
        clock.advance(ms);
        window().syncFromModel();
    }
    MainWindow& window() { return session.window(); }
    Session& form() { return session.form(); }
    template <class W>
    W* widget(const std::string& name) {
        return dynamic_cast<W*>(window().widget(name));
    }
    QPushButton* button(const std::string& name) { return widget<QPushButton>(name); }
    QRadioButton* option(const std::string& name) { return widget<QRadioButton>(name); }
    QCheckBox* check(const std::string& name) { return widget<QCheckBox>(name); }
    QSlider* slider(const std::string& name) { return widget<QSlider>(name); }
    QLineEdit* groupCount() { return widget<QLineEdit>("Text2"); }
    AnswerBox* answerBox() { return window().answerBox(); }
    AnswerList* list() { return window().answerList(); }
    // The practice text's callsigns, one a line, as the logic holds them.
    std::vector<std::string> practiceLines();
    int operationsOf(const std::string& role, const std::string& op) const;

    VirtualClock clock;
    std::vector<SoundOperation> operations;
    TracingSoundPlatform sound{nullptr, [this](const SoundOperation& op) { operations.push_back(op); }};
    std::vector<Message> messages;
    std::vector<Message> questions;  // asked, and answered as `answerYes` says
    bool answerYes = false;
    int quits = 0;
    SoundStatus soundNow;  // what the session's sound poll sees
    DesktopSession session;

private:
    SessionOptions options(bool realMessageBoxes, bool restoreLearning) {
        SessionOptions o;
        if (!realMessageBoxes) {
            o.presenter = [this](QWidget*, const QString& title, const QString& text) { messages.push_back({title, text}); };
            o.asker = [this](QWidget*, const QString& title, const QString& text) {
                questions.push_back({title, text});
                return answerYes;
            };
        }
        o.restoreLearning = restoreLearning;
        o.quit = [this] { ++quits; };
        o.seed = 7;
        o.clock = &clock;
        o.soundStatus = [this] { return soundNow; };
        return o;
    }
};

inline std::vector<std::string> WindowFixture::practiceLines() {
    std::vector<std::string> lines;
    const std::string& text = form().controls().Text1.text();
    for (std::size_t start = 0; start < text.size();) {
        const auto end = text.find("\r\n", start);
        if (end == std::string::npos) break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

inline int WindowFixture::operationsOf(const std::string& role, const std::string& op) const {
    int n = 0;
    for (const auto& o : operations) n += o.buffer == role && o.op == op;
    return n;
}

}  // namespace tessaly::qt::testing
