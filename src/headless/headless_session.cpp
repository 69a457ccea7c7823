#include "headless/headless_session.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace tessaly {

class HeadlessSession::Host final : public FormHost {
public:
    Host(const VirtualClock& clock, std::function<void(const HostEvent&)> sink, bool answerYes)
        : clock_(clock), sink_(std::move(sink)), answerYes_(answerYes) {}

    void messageBox(const std::string& title, const std::string& text) override {
        HostEvent e = event(HostEvent::Kind::MessageBox);
        e.title = title;
        e.text = text;
        send(e);
    }
    bool askYesNo(const std::string& title, const std::string& text) override {
        HostEvent e = event(HostEvent::Kind::Question);
        e.title = title;
        e.text = text;
        e.yes = answerYes_;
        send(e);
        return answerYes_;
    }
    void clipStarted(const std::string& name, int volume, int frequency) override {
        HostEvent e = event(HostEvent::Kind::ClipStarted);
        e.name = name;
        e.volume = volume;
        e.frequency = frequency;
        send(e);
    }
    void focusControl(const std::string& name) override {
        HostEvent e = event(HostEvent::Kind::Focus);
        e.name = name;
        send(e);
    }
    void trialBegins(int trial, double snrDb) override {
        HostEvent e = event(HostEvent::Kind::Trial);
        e.trial = trial;
        e.snrDb = snrDb;
        send(e);
    }
    void thresholdFound(const ThresholdFound& found) override {
        HostEvent e = event(HostEvent::Kind::Threshold);
        e.snrDb = found.snrDb;
        e.se = found.se;
        e.trial = found.trials;
        e.threshold = found;
        send(e);
    }
    void practiceEvent(const PracticeEvent& reported) override {
        HostEvent e = event(HostEvent::Kind::Practice);
        e.practice = reported;
        send(e);
    }
    void quitNow() override { send(event(HostEvent::Kind::Quit)); }
    void showAbout() override { send(event(HostEvent::Kind::About)); }

private:
    HostEvent event(HostEvent::Kind kind) const {
        HostEvent e;
        e.kind = kind;
        e.t = clock_.nowMs();
        return e;
    }
    void send(const HostEvent& e) {
        if (sink_) sink_(e);
    }

    const VirtualClock& clock_;
    std::function<void(const HostEvent&)> sink_;
    bool answerYes_;
};

HeadlessSession::HeadlessSession(Options o) : random_(o.seed), onDeviceChange_(std::move(o.onDeviceChange)) {
    SoundPlatform* inner = nullptr;
    if (o.output == Output::Wav) {
        std::string error;
        wav_ = makeWavOutput(o.wavPath, {}, [this] { return clock_.nowMs(); }, error, o.waves);
        if (!wav_) throw std::runtime_error(error);
        inner = &wav_->platform();
    } else if (o.output == Output::Live) {
        live_ = openLiveSound(o.waves);
        // The first clip comes 1.1 s after Start at the earliest; don't lose it to the device's start-up.
        live_->waitForDevice(3000);
        paced_.setPace(live_->followFormClock([this] { return clock_.nowMs(); }));
        inner = &live_->platform();
    }
    SoundOperationSink trace;
    if (o.onSound) trace = [this, sink = std::move(o.onSound)](const SoundOperation& op) { sink(clock_.nowMs(), op); };
    sound_ = std::make_unique<TracingSoundPlatform>(inner, std::move(trace));
    host_ = std::make_unique<Host>(clock_, std::move(o.onEvent), o.answerYes);
    form_ = std::make_unique<Session>(clock_, *sound_, random_, *host_);
    input_ = std::make_unique<UserInput>(*form_);
}

HeadlessSession::~HeadlessSession() {
    // The form first: its buffers report their release into the tracer.
    input_.reset();
    form_.reset();
    // How well the live sound kept its schedule, for those who measure it.
    if (live_ && std::getenv("TESSALY_TIMING")) {
        const LiveSound::Lateness late = live_->lateness();
        std::fprintf(stderr, "tessaly: live timing: %llu operations late (latest by %.1f ms), %llu gaps played, %d slips\n",
                     static_cast<unsigned long long>(late.operations), late.mostMs,
                     static_cast<unsigned long long>(late.underflows), paced_.slips());
    }
}

void HeadlessSession::wait(std::int64_t ms) {
    if (!live_) {
        clock_.advance(ms);
        // The sound up to now, so that a write that fails is known at once.
        if (wav_) wav_->renderUntilMs(clock_.nowMs());
        return;
    }
    // Live: the timers tick at their due times on the sound's own clock, and a wait
    // really waits. Never asleep for long, so that a change of the device is told
    // within 250 ms.
    constexpr auto kLongestSleep = std::chrono::milliseconds(250);
    const std::int64_t end = clock_.nowMs() + ms;
    while (clock_.nowMs() < end) {
        const auto wake = std::min(*paced_.nextWake(end), std::chrono::steady_clock::now() + kLongestSleep);
        std::this_thread::sleep_until(wake);
        paced_.catchUp(end);
        checkDevice();
    }
}

void HeadlessSession::checkDevice() {
    if (!live_) return;
    const SoundStatus status = live_->status();
    if (status.state == SoundState::Starting) return;
    // The first look reports a missing device; after that, every change.
    if (deviceChangesSeen_ == 0 && status.state == SoundState::Device) {
        deviceChangesSeen_ = std::max<std::uint64_t>(status.changes, 1);
        return;
    }
    if (status.changes == deviceChangesSeen_) return;
    // A loss and a return both between two looks: both are told.
    const bool lostMeanwhile = status.state == SoundState::Device && status.changes - deviceChangesSeen_ >= 2;
    deviceChangesSeen_ = status.changes;
    if (!onDeviceChange_) return;
    if (lostMeanwhile) onDeviceChange_(clock_.nowMs(), SoundState::Silent);
    onDeviceChange_(clock_.nowMs(), status.state);
}

bool HeadlessSession::finish(std::string& error) {
    if (!wav_) return true;
    wav_->renderUntilMs(clock_.nowMs());
    input_.reset();
    form_.reset();
    return wav_->finish(error);
}

}  // namespace tessaly
