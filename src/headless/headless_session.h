#pragma once
// The window's logic without a window: virtual time from t = 0, the random
// source, a sound platform (every operation traced; behind it an offline WAV
// output, the live device, or nothing), the form and the user's input. The script
// runner, the practice renderer and the tests all run a practice through this.
#include "engine/sound_outputs.h"
#include "form/session.h"
#include "form/user_input.h"
#include "form/practice_view.h"
#include "practice/paced_clock.h"
#include "sound/tracing_sound.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tessaly {

// What the form asked of its host, stamped with the virtual time.
struct HostEvent {
    enum class Kind { MessageBox, ClipStarted, Focus, Quit, About, Trial, Threshold, Question, Practice };
    Kind kind = Kind::MessageBox;
    std::int64_t t = 0;
    std::string title, text;        // message box, question
    bool yes = false;               // question: the answer given
    std::string name;               // clip, or the control given the focus
    int volume = 0, frequency = 0;  // clip
    int trial = 0;                  // trial: which callsign of the run; threshold: how many
    double snrDb = 0, se = 0;       // trial: its SNR; threshold: the threshold and its error
    ThresholdFound threshold;       // threshold: all it found
    PracticeEvent practice;         // what a practice reported
};

class HeadlessSession {
public:
    enum class Output { None, Wav, Live };
    struct Options {
        std::optional<std::uint64_t> seed;  // fixes the random source
        Output output = Output::None;       // None: the operations are only traced
        std::string wavPath;                // Output::Wav
        std::function<void(const HostEvent&)> onEvent;
        // How a question (删除学习记录…) is answered: the script's `record delete` says yes.
        bool answerYes = true;
        // Every sound operation, with the virtual time it was asked at.
        std::function<void(std::int64_t t, const SoundOperation&)> onSound;
        WaveLookup waves = builtInWaves();
        // Output::Live: the device went away (Silent) or came back (Device).
        std::function<void(std::int64_t t, SoundState state)> onDeviceChange;
    };

    // Throws std::runtime_error when the WAV file cannot be opened.
    explicit HeadlessSession(Options options);
    ~HeadlessSession();
    HeadlessSession(const HeadlessSession&) = delete;
    HeadlessSession& operator=(const HeadlessSession&) = delete;

    // The window's load handler. Apart from the constructor, so that a host can
    // check its input against the form's controls before anything happens.
    void load() {
        form_->Form_Load();
        checkDevice();
    }

    VirtualClock& clock() { return paced_.clock(); }
    Session& form() { return *form_; }
    UserInput& input() { return *input_; }
    PracticeView view() const { return PracticeView(*form_); }

    // Advances virtual time; with the live device, as fast as the wall clock.
    void wait(std::int64_t ms);
    // With Output::Wav: renders up to now, lets the form go (its buffers with it) and
    // closes the file. False with the reason on failure.
    bool finish(std::string& error);
    // The live device, or null.
    LiveSound* live() { return live_.get(); }
    // With Output::Wav: a write of the sound failed (a full disk); finish() says why.
    bool soundLost() const { return wav_ && wav_->writeFailed(); }

private:
    class Host;
    void checkDevice();  // reports a change of the live device

    PacedClock paced_;  // virtual time; live, moved on by the sound's own frames
    VirtualClock& clock_ = paced_.clock();
    RandomSource random_;
    std::unique_ptr<OfflineSound> wav_;
    std::unique_ptr<LiveSound> live_;
    std::function<void(std::int64_t, SoundState)> onDeviceChange_;
    std::uint64_t deviceChangesSeen_ = 0;
    std::unique_ptr<TracingSoundPlatform> sound_;
    std::unique_ptr<Host> host_;
    std::unique_ptr<Session> form_;
    std::unique_ptr<UserInput> input_;
};

}  // namespace tessaly
