#pragma once
// One main window with everything behind it: the practice logic, its timers on
// the Qt event loop, and the window that mirrors it. The program makes one; the
// tests make one per case, with their own sound platform and message presenter.
#include "form/session.h"
#include "form/user_input.h"
#include "engine/sound_outputs.h"
#include "shell/qt/desktop_host.h"
#include "shell/qt/main_window.h"
#include "shell/qt/qt_timer_clock.h"
#include "base/random_source.h"

#include <QTimer>

#include <cstdint>
#include <memory>
#include <optional>

namespace tessaly::qt {

struct SessionOptions {
    DesktopHost::MessagePresenter presenter;  // default: a modal information box
    DesktopHost::QuestionPresenter asker;     // default: a modal question box
    // At load, the learning record as the settings file left it: on again, with the
    // last practice's settings and the drill (the program; tests ask for it).
    bool restoreLearning = false;
    std::function<void()> quit;               // default: end the event loop
    std::optional<std::uint64_t> seed;        // fixes the random source
    TimerClock* clock = nullptr;              // instead of the Qt event loop (tests: virtual time)
    // Where the sound goes now; polled to show or hide the window's notice. Default: always a device.
    std::function<SoundStatus()> soundStatus;
    // Once the sound is open (at load): the pace its frames give the form clock, or
    // null without a live output (the steady clock goes on).
    std::function<std::shared_ptr<Pace>(std::function<std::int64_t()> formNowMs)> soundPace;
};

class DesktopSession {
public:
    DesktopSession(SoundPlatform& sound, SessionOptions options = {});
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    // The window's load handler (opens the sound device), the learning record's
    // settings when asked, then the widgets.
    void load();

    Session& form() { return form_; }
    UserInput& input() { return input_; }
    MainWindow& window() { return *window_; }
    DesktopHost& host() { return host_; }
    // Looks at the sound once (a timer does it every 250 ms): the notice follows.
    void pollSound();
    // The event-loop clock, or null when the timers run on a clock given in the options.
    QtTimerClock* qtClock() { return ownClock_.get(); }

private:
    bool restoreLearning_;
    std::function<SoundStatus()> soundStatus_;
    std::function<std::shared_ptr<Pace>(std::function<std::int64_t()>)> soundPace_;
    QTimer* soundPoll_ = nullptr;
    std::unique_ptr<QtTimerClock> ownClock_;
    RandomSource random_;
    DesktopHost host_;
    Session form_;
    UserInput input_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace tessaly::qt
