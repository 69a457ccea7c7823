#include "shell/qt/qt_timer_clock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace tessaly::qt {

QtTimerClock::QtTimerClock(std::shared_ptr<Pace> pace) : paced_(std::move(pace)), wakeUp_(new QTimer(this)) {
    wakeUp_->setSingleShot(true);
    // Coarse timers may fire up to 5 % late; a wake-up should come when it is due.
    wakeUp_->setTimerType(Qt::PreciseTimer);
    connect(wakeUp_, &QTimer::timeout, this, [this] { wake(); });
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

QtTimerClock::~QtTimerClock() = default;

void QtTimerClock::setPace(std::shared_ptr<Pace> pace) {
    paced_.setPace(std::move(pace));
    rearm();
}

void QtTimerClock::catchUp() {
    if (halted_ || catchingUp_) return;
    catchingUp_ = true;
    paced_.catchUp();
    catchingUp_ = false;
    rearm();
}

void QtTimerClock::wake() {
    catchUp();
    if (afterTick_ && !halted_) afterTick_();
}

void QtTimerClock::rearm() {
    if (halted_ || catchingUp_) return;  // catchUp re-arms once it is done
    const auto when = paced_.nextWake();
    if (!when) {
        wakeUp_->stop();
        return;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*when - Pace::Clock::now()).count();
    wakeUp_->start(static_cast<int>(std::clamp<std::int64_t>(wait, 0, 24 * 3600 * 1000)));
}

bool QtTimerClock::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::InputMethod:
        case QEvent::Close: catchUp(); break;
        default: break;
    }
    return QObject::eventFilter(watched, event);
}

void QtTimerClock::timerRestarted(Timer& timer) {
    paced_.clock().timerRestarted(timer);
    rearm();
}

void QtTimerClock::timerStopped(Timer& timer) {
    paced_.clock().timerStopped(timer);
    rearm();
}

void QtTimerClock::timerRemoved(Timer& timer) {
    paced_.clock().timerRemoved(timer);
    rearm();
}

void QtTimerClock::halt() {
    halted_ = true;
    wakeUp_->stop();
}

int QtTimerClock::countdownMs(const Timer& timer) const {
    if (halted_ || paced_.clock().dueMs(timer) < 0) return -1;
    return timer.periodMs();
}

}  // namespace tessaly::qt
