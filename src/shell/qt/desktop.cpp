// The desktop program: the loader, then the main window, on the Qt event loop.
#include "shell/desktop.h"

#include "base/crash_report.h"
#include "base/xdg_places.h"
#include "learning/learning_settings.h"
#include "learning/record_digest.h"
#include "shell/qt/app_icon.h"
#include "shell/qt/deferred_sound.h"
#include "shell/qt/desktop_session.h"
#include "shell/qt/loader_window.h"
#include "shell/qt/qt_translations.h"
#include "shell/qt/startup_probe.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <future>
#include <iostream>
#include <memory>
#include <string_view>

namespace tessaly {
namespace {

// The learning record, when the settings file says it is on, read on a worker
// thread while the windows are made and the sound opens: however long the record,
// the window stands and answers meanwhile. The load handler waits for it as it
// waits for the sound (the keeper reads the settings file again there).
struct RecordAhead {
    std::string path;
    std::future<DigestedRecord> reading;
    bool ready() const {
        return !reading.valid() || reading.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    }
};

RecordAhead readRecordAhead() {
    std::string error;
    const std::string settings = learningSettingsPath(error);
    if (settings.empty() || !readLearningSettings(settings).settings.record) return {};
    const LearningRecord record = LearningRecord::atDataFolder(error);
    if (!record.valid()) return {};
    return {record.path(), std::async(std::launch::async, [record] { return digestRecord(record); })};
}

}  // namespace

int runDesktop(int argc, char** argv, const DesktopOptions& options) {
    // Without a screen Qt would abort; say what to do instead.
    const auto unset = [](const char* name) {
        const char* v = std::getenv(name);
        return !v || !*v;
    };
    bool platformOption = false;
    for (int i = 1; i < argc; ++i) platformOption |= std::string_view(argv[i]) == "-platform";
    if (unset("DISPLAY") && unset("WAYLAND_DISPLAY") && unset("QT_QPA_PLATFORM") && !platformOption) {
        std::cerr << "tessaly: no screen to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                     "Without a screen, 'tessaly render' makes a practice to listen to and 'tessaly script'\n"
                     "runs the window's logic (tessaly --help).\n";
        return 1;
    }
    qt::StartupProbe probe;
    RecordAhead recordAhead = readRecordAhead();
    qt::DeferredSoundPlatform sound(options.voicesPath);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tessaly"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tessaly"));
    QApplication::setWindowIcon(qt::appIcon());
    qt::loadQtTranslations(app);  // Qt's own dialogs and menus in Chinese, like the window

    std::unique_ptr<qt::DesktopSession> session;
    qt::LoaderWindow loader;

    bool loaded = false;
    auto load = [&] {
        if (loaded || !session) return;
        loaded = true;
        probe.mark("load handler starts");
        if (recordAhead.reading.valid())
            session->form().review().keeper().takeReading(recordAhead.path, std::move(recordAhead.reading));
        session->load();
        probe.mark("main window loaded");
        // Said once the window stands, with the built-in clips already speaking for the refused files.
        if (const auto problems = sound.voicePackProblems(); !problems.empty()) {
            std::string text = "声音包中以下文件未能采用，改用内置语音：";
            for (const std::string& p : problems) text += "\n" + p;
            QTimer::singleShot(0, &session->window(), [&session, text] { session->host().messageBox("声音包", text); });
        }
        std::string error;
        if (const std::string report = takeCrashNotice(stateFolder(error)); !report.empty()) {
            QTimer::singleShot(0, &session->window(), [&session, report] {
                session->host().messageBox("Tessaly", "上次异常退出，报告在 " + report);
            });
        }
        if (probe.active()) QCoreApplication::exit(0);
    };
    auto openMainWindow = [&] {
        if (session) return;
        qt::SessionOptions options;
        options.restoreLearning = true;
        options.soundStatus = [&sound] { return sound.status(); };
        options.soundPace = [&sound](std::function<std::int64_t()> formNowMs) {
            return sound.followFormClock(std::move(formNowMs));
        };
        session = std::make_unique<qt::DesktopSession>(sound, std::move(options));
        qt::MainWindow& window = session->window();
        window.onFirstPaint = [&] {
            probe.mark("main window painted");
            // Only now does the audio system wake up: started earlier, its thread
            // competes for the CPU with the making of the windows (measured: the
            // first paints came 30 to 60 ms later on two busy cores). The load
            // handler is the first to need the device: it runs once the worker has
            // opened it and decoded the noise recordings, so the painted window never
            // stands frozen while that happens.
            sound.startOpening();
            auto* waitForSound = new QTimer(&window);
            QObject::connect(waitForSound, &QTimer::timeout, [&, waitForSound] {
                if (!sound.ready() || !recordAhead.ready()) return;
                waitForSound->deleteLater();
                load();
            });
            waitForSound->start(5);
        };
        window.onActionBeforeLoad = [&] { load(); };
        // Should the window never paint (a platform without exposure), load anyway,
        // once the learning record is read.
        QTimer::singleShot(1000, &window, [&] {
            auto* waitForRecord = new QTimer(&session->window());
            QObject::connect(waitForRecord, &QTimer::timeout, [&, waitForRecord] {
                if (!recordAhead.ready()) return;
                waitForRecord->deleteLater();
                load();
            });
            waitForRecord->start(20);
        });
        if (QScreen* s = window.screen())
            window.move(s->availableGeometry().center() - window.frameGeometry().center() + window.pos());
        window.show();
        loader.close();
    };
    loader.onFirstPaint = [&] {
        probe.mark("loader painted");
        QTimer::singleShot(0, &loader, openMainWindow);
    };
    loader.show();
    // Should the loader never paint (a platform without exposure), go on anyway.
    QTimer::singleShot(300, &app, openMainWindow);

    const int status = QApplication::exec();
    session.reset();
    return status;
}

}  // namespace tessaly
