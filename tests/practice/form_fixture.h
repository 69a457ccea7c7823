#pragma once
// A main window driven in virtual time, with a recording sound platform and a
// host that keeps what the window showed.
#include "practice/main_form.h"
#include "practice/user_input.h"
#include "practice/virtual_clock.h"
#include "speech/tracing_sound.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tessaly::testing {

struct RecordedOperation {
    std::int64_t t;
    SoundOperation op;
};

struct RecordingHost : FormHost {
    struct Message {
        std::string title, text;
    };
    struct Clip {
        std::int64_t t;
        std::string name;
        int volume, frequency;
    };
    explicit RecordingHost(const VirtualClock& c) : clock(c) {}
    void messageBox(const std::string& title, const std::string& text) override { messages.push_back({title, text}); }
    void clipStarted(const std::string& name, int volume, int frequency) override {
        clips.push_back({clock.nowMs(), name, volume, frequency});
    }
    void focusControl(const std::string& name) override { focused = name; }
    void quitNow() override { quit = true; }
    void showAbout() override { ++aboutShown; }

    const VirtualClock& clock;
    std::vector<Message> messages;
    std::vector<Clip> clips;
    std::string focused;
    bool quit = false;
    int aboutShown = 0;
};

class FormTest : public ::testing::Test {
protected:
    explicit FormTest(std::uint64_t seed = 1) : random(seed) { form.Form_Load(); }

    void wait(std::int64_t ms) { clock.advance(ms); }
    void click(const std::string& name) { ASSERT_EQ(input.click(name), InputResult::Done) << name; }
    void type(const std::string& name, const std::string& text) {
        ASSERT_EQ(input.type(name, text), InputResult::Done) << name;
    }
    // Operations on one buffer role since the last clear.
    std::vector<SoundOperation> ops(const std::string& role, const std::string& op = "") const {
        std::vector<SoundOperation> out;
        for (const auto& r : recorded)
            if (r.op.buffer == role && (op.empty() || r.op.op == op)) out.push_back(r.op);
        return out;
    }
    std::vector<std::string> clipNames() const {
        std::vector<std::string> names;
        for (const auto& c : host.clips) names.push_back(c.name);
        return names;
    }

    VirtualClock clock;
    RecordingHost host{clock};
    RandomSource random;
    std::vector<RecordedOperation> recorded;
    TracingSoundPlatform sound{nullptr, [this](const SoundOperation& op) { recorded.push_back({clock.nowMs(), op}); }};
    MainForm form{clock, sound, random, host};
    UserInput input{form};
};

}  // namespace tessaly::testing
