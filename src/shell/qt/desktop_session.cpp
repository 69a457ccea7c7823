#include "shell/qt/desktop_session.h"

#include "form/learning_start.h"

#include <QCoreApplication>

namespace tessaly::qt {

namespace {
std::function<void()> orDefaultQuit(std::function<void()> quit) {
    if (quit) return quit;
    // At once: the event loop ends and no window gets its close step.
    return [] { QCoreApplication::exit(0); };
}
}  // namespace

DesktopSession::DesktopSession(SoundPlatform& sound, SessionOptions options)
    : restoreLearning_(options.restoreLearning), soundStatus_(std::move(options.soundStatus)), soundPace_(std::move(options.soundPace)),
      ownClock_(options.clock ? nullptr : std::make_unique<QtTimerClock>()),
      random_(options.seed),
      host_(std::move(options.presenter), orDefaultQuit(std::move(options.quit)), std::move(options.asker)),
      form_(options.clock ? *options.clock : static_cast<TimerClock&>(*ownClock_), sound, random_, host_),
      input_(form_),
      window_(std::make_unique<MainWindow>(form_, input_)) {
    host_.setWindow(window_.get());
    // The window's timers die with the window, like its other controls: a practice
    // left running behind a closed window would go on speaking. The About box
    // goes too: closing the main window ends the program.
    window_->onClosed = [this] {
        if (ownClock_) ownClock_->halt();
        host_.closeAbout();
    };
    if (ownClock_) ownClock_->setAfterTick([this] { window_->syncFromModel(); });
    if (soundStatus_ && ownClock_) {
        // A look at one atomic word every 250 ms: the notice shows within a quarter
        // of a second of the sound going away or coming back.
        soundPoll_ = new QTimer(window_.get());
        QObject::connect(soundPoll_, &QTimer::timeout, [this] { pollSound(); });
        soundPoll_->start(250);
    }
}

DesktopSession::~DesktopSession() {
    if (ownClock_) ownClock_->halt();
    host_.setWindow(nullptr);
    window_.reset();
}

void DesktopSession::pollSound() {
    if (!soundStatus_) return;
    window_->showNoSoundNotice(soundStatus_().state == SoundState::Silent);
}

void DesktopSession::load() {
    form_.Form_Load();
    // From here the timers keep the sound card's time, and the sound keeps theirs.
    if (ownClock_ && soundPace_) {
        if (auto pace = soundPace_([clock = ownClock_.get()] { return clock->nowMs(); })) ownClock_->setPace(std::move(pace));
    }
    if (restoreLearning_) restoreLearning(input_, form_, RestoredSettings::WithLastPractice);
    window_->setLoaded();
    window_->syncFromModel();
}

}  // namespace tessaly::qt
