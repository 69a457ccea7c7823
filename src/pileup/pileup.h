#pragma once
// A voice pile-up: several stations call at once, each on its own bus at its own
// level, start, tone and speaker, over the band's noise; the learner copies a whole
// callsign out of the mix and confirms it, as many as they copy, in any order.
//
// A round: the stations call together, the listener has a while to answer, and
// they call again, up to kMostCalls times each. A callsign typed exactly works its
// station, which leaves; the rest call again after a short pause, and (in a steady
// stream) a new caller joins. A copy within two characters of a station's callsign
// is a bust: counted, and that station calls again. A part ending in "?" ("4K?") has
// only the stations whose callsign holds it call again. A round ends when every
// station is worked or its calls have run out. With a fixed set the practice is the
// group count's rounds; in a stream it is one round through which the group count's
// callers come and go.
#include "band/band.h"
#include "pileup/caller_station.h"
#include "practice/practice.h"
#include "stations/practice_reader.h"
#include "sources/callsign_sources.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

// One caller of a practice, as it went.
struct PileupCaller {
    enum class Outcome { Calling, Worked, Missed, Busted };
    int round = 0;
    Caller caller;
    int row = 0;          // its row of the answer list, from 1
    int calls = 0;        // calls made
    int busts = 0;        // copies of it within two characters
    int workedAfter = 0;  // the calls it took, once worked
    Outcome outcome = Outcome::Calling;
};

// One call as it sounded: the round, where its first clip began, the caller.
struct PileupCall {
    int round = 0;
    std::int64_t startMs = 0;  // the call's first clip, on the form clock
    int levelHundredths = 0;
    std::string speaker, callsign;
};

std::string_view outcomeName(PileupCaller::Outcome outcome);  // calling, worked, missed, busted

class Pileup {
public:
    static constexpr int kFewestStations = 2;
    static constexpr int kMostStations = kCallerBuses;
    static constexpr int kMostCalls = 4;
    static constexpr int kListenMs = 4000;    // after a call, for the listener to answer
    static constexpr int kReplyPauseMs = 2000;  // after an answer, before the stations call again
    static constexpr int kRoundGapMs = 2000;

    // `step` runs on each tick of the pile-up's timer: the session, which ends the
    // practice once the pile-up is over.
    // Callers speak as the reader would, each in a speaker of its own.
    Pileup(WindowControls& controls, SoundPlatform& platform, TimerClock& clock, RandomSource& random, FormHost& host,
           CallsignSources& sources, Practice& practice, const Band& band, const PracticeReader& reader,
           std::function<void()> step);

    // The setting: 2 .. 6 stations, or 0 for none; a fixed set or a steady stream.
    void setStations(int stations) { stationCount_ = stations; }
    void setStream(bool on) { stream_ = on; }
    int stations() const { return stationCount_; }
    bool stream() const { return stream_; }

    // Start: when set, a pile-up of `count` rounds (a stream: callers) begins. True
    // when it began.
    bool start(int count);
    bool running() const { return running_; }
    // The pile-up's timer ticked: the next call, round or the end. False once over.
    bool step();
    // An answer confirmed in the answer box.
    void answer(const std::string& typed);
    // Stop: every call cut off; the stations still calling are missed.
    void stop();
    // The window closes: every station lets its clip and the device go.
    void release();

    // ---- what the others read
    int round() const { return round_; }
    const std::vector<PileupCaller>& callers() const { return callers_; }
    const std::vector<PileupCall>& calls() const { return calls_; }
    int calling() const;  // stations still in the round
    int worked() const { return worked_; }
    int busts() const { return busts_; }
    // Stations worked per hour since the pile-up began (`nowMs` on the form clock).
    double ratePerHour(std::int64_t nowMs) const;
    // "呼叫堆积：联络 5 个电台，抄错 1 次，每小时 300 个", under the list's summary.
    static std::string summaryText(int worked, int busts, double ratePerHour);
    std::vector<const Timer*> timers() const;

private:
    enum class Next { Call, Listened, Round, End };
    void startRound();
    void join(const Caller& caller);  // a caller joins the round
    void fillStream(std::vector<std::size_t>& calling);  // in a stream, callers join to make the count
    void callAgain(std::vector<std::size_t> who, int afterMs);
    void beginCall();
    void endRound();
    void leave(PileupCaller& c);  // gone unworked
    void schedule(Next next, int afterMs);
    void report(const std::string& name, std::vector<std::pair<std::string, EventValue>> fields);
    std::vector<std::size_t> remaining() const;  // indices into callers_ of this round's callers still calling
    int freeStation() const;
    // A caller's callsign, level, start, voice and manner, told apart from the round's
    // callers and from those `drawn` with it.
    Caller draw(const std::vector<Caller>& drawn = {});

    WindowControls& controls_;
    TimerClock& clock_;
    RandomSource& random_;
    FormHost& host_;
    CallsignSources& sources_;
    Practice& practice_;
    const Band& band_;
    const PracticeReader& reader_;
    std::vector<std::unique_ptr<CallerStation>> stations_;
    Timer timer_{"PileupTimer", 20};
    int stationCount_ = 0;
    bool stream_ = false;
    std::vector<std::string> speakers_;  // the voices callers speak in: each set's own ("") and every speaker's
    bool running_ = false;
    int count_ = 0;  // rounds, or in a stream the callers in all
    int round_ = 0;
    int joined_ = 0;
    int worked_ = 0, busts_ = 0;
    std::int64_t startedMs_ = 0;
    std::vector<PileupCaller> callers_;
    std::vector<int> stationOf_;  // by caller: its station, -1 once gone
    std::vector<PileupCall> calls_;
    std::vector<std::size_t> nextCall_;
    Next next_ = Next::Call;
};

}  // namespace tessaly
