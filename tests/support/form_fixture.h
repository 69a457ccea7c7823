#pragma once
// A main window run by the headless session in virtual time, with the sound
// operations traced and what the window showed kept for the checks.
#include "headless/headless_session.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tessaly::testing {

struct RecordedOperation {
    std::int64_t t;
    SoundOperation op;
};

// What the form asked of its host, by kind.
struct HostRecord {
    struct Message {
        std::string title, text;
    };
    struct Clip {
        std::int64_t t;
        std::string name;
        int volume, frequency;
    };
    void take(const HostEvent& e) {
        switch (e.kind) {
            case HostEvent::Kind::MessageBox: messages.push_back({e.title, e.text}); break;
            case HostEvent::Kind::ClipStarted: clips.push_back({e.t, e.name, e.volume, e.frequency}); break;
            case HostEvent::Kind::Focus: focused = e.name; break;
            case HostEvent::Kind::Quit: quit = true; break;
            case HostEvent::Kind::About: ++aboutShown; break;
            case HostEvent::Kind::Trial: trials.push_back({e.trial, e.snrDb}); break;
            case HostEvent::Kind::Threshold: thresholds.push_back({e.snrDb, e.se, e.trial}); break;
            case HostEvent::Kind::Question: questions.push_back({e.title, e.text}); break;
            case HostEvent::Kind::Practice: events.push_back(e.practice); break;
        }
    }
    struct Trial {
        int n;
        double snrDb;
    };
    struct Threshold {
        double snrDb, se;
        int trials;
    };
    std::vector<Trial> trials;
    std::vector<Threshold> thresholds;
    std::vector<Message> messages;
    std::vector<Message> questions;
    std::vector<PracticeEvent> events;  // what the practice reported, in order
    std::vector<Clip> clips;
    std::string focused;
    bool quit = false;
    int aboutShown = 0;
};

// Options for a session that records into `host` and `recorded`.
inline HeadlessSession::Options recordingOptions(std::uint64_t seed, HostRecord& host,
                                                 std::vector<RecordedOperation>& recorded) {
    HeadlessSession::Options o;
    o.seed = seed;
    o.onEvent = [&host](const HostEvent& e) { host.take(e); };
    o.onSound = [&recorded](std::int64_t t, const SoundOperation& op) { recorded.push_back({t, op}); };
    return o;
}

class FormTest : public ::testing::Test {
protected:
    explicit FormTest(std::uint64_t seed = 1)
        : session_(recordingOptions(seed, host, recorded)),
          clock(session_.clock()),
          form(session_.form()),
          input(session_.input()) {
        session_.load();
    }

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

    HostRecord host;
    std::vector<RecordedOperation> recorded;

private:
    HeadlessSession session_;

protected:
    VirtualClock& clock;
    Session& form;
    UserInput& input;
};

}  // namespace tessaly::testing
