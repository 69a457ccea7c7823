#include "pileup/pileup.h"

#include "pileup/call_matching.h"
#include "base/speakers.h"
#include "practice/reading_pace.h"

#include <algorithm>
#include <cmath>

namespace tessaly {
namespace {

// Callers spread over this much below the strongest, hundredths of a dB, and start
// within this much of each other, ms.
constexpr int kLevelSpread = 1500;
constexpr int kOffsetSpreadMs = 600;

double tenths(double value) { return std::round(value * 10.0) / 10.0; }

}  // namespace

std::string_view outcomeName(PileupCaller::Outcome outcome) {
    switch (outcome) {
        case PileupCaller::Outcome::Calling: return "calling";
        case PileupCaller::Outcome::Worked: return "worked";
        case PileupCaller::Outcome::Missed: return "missed";
        case PileupCaller::Outcome::Busted: return "busted";
    }
    return "";
}

Pileup::Pileup(WindowControls& controls, SoundPlatform& platform, TimerClock& clock, RandomSource& random,
               FormHost& host, CallsignSources& sources, Practice& practice, const Band& band,
               const PracticeReader& reader, std::function<void()> step)
    : controls_(controls), clock_(clock), random_(random), host_(host), sources_(sources), practice_(practice),
      band_(band), reader_(reader) {
    speakers_.emplace_back();
    for (const Speaker& s : builtInSpeakers()) speakers_.emplace_back(s.name);
    for (int i = 0; i < kMostStations; ++i)
        stations_.push_back(std::make_unique<CallerStation>(i, controls, platform, clock, random));
    timer_.attach(&clock, std::move(step));
    timer_.setEnabled(false);
}

std::vector<const Timer*> Pileup::timers() const {
    std::vector<const Timer*> all{&timer_};
    for (const auto& s : stations_) all.push_back(&s->timer());
    return all;
}

bool Pileup::start(int count) {
    callers_.clear();
    stationOf_.clear();
    calls_.clear();
    round_ = joined_ = worked_ = busts_ = 0;
    running_ = stationCount_ >= kFewestStations && count > 0;
    if (!running_) return false;
    count_ = count;
    startedMs_ = clock_.nowMs();
    startRound();
    return true;
}

void Pileup::report(const std::string& name, std::vector<std::pair<std::string, EventValue>> fields) {
    host_.practiceEvent({name, std::move(fields)});
}

void Pileup::startRound() {
    ++round_;
    report("round", {{"n", static_cast<long long>(round_)}});
    std::vector<Caller> drawn;
    const int stations = stream_ ? std::min(stationCount_, count_) : stationCount_;
    for (int i = 0; i < stations; ++i) drawn.push_back(draw(drawn));
    // The strongest caller of the round is heard as a single reader is.
    int strongest = -kLevelSpread;
    for (const Caller& c : drawn) strongest = std::max(strongest, c.levelHundredths);
    for (Caller& c : drawn) {
        c.levelHundredths -= strongest;
        join(c);
    }
    callAgain(remaining(), 0);
}

Caller Pileup::draw(const std::vector<Caller>& drawn) {
    Caller c;
    // A callsign no other caller of the round has.
    for (int tries = 0; tries < 20; ++tries) {
        const auto picked = controls_.libraryChosen() ? sources_.libraryCallsigns(1)
                                                     : sources_.randomCallsigns(1, controls_.Option7[4].value, {});
        c.callsign = picked.empty() ? "" : picked.front();
        const bool taken = std::any_of(callers_.begin(), callers_.end(), [&](const PileupCaller& p) {
            return p.round == round_ && p.caller.callsign == c.callsign;
        }) || std::any_of(drawn.begin(), drawn.end(), [&](const Caller& d) { return d.callsign == c.callsign; });
        if (!taken) break;
    }
    random_.reseedFromClock();
    c.levelHundredths = -10 * random_.draw(kLevelSpread / 10 + 1, 0);
    random_.reseedFromClock();
    c.offsetMs = 10 * random_.draw(kOffsetSpreadMs / 10 + 1, 0);
    // A voice not yet heard in the round, while there is one.
    std::vector<std::string> unheard;
    for (const std::string& s : speakers_)
        if (std::none_of(callers_.begin(), callers_.end(),
                         [&](const PileupCaller& p) {
                             return p.round == round_ && p.outcome == PileupCaller::Outcome::Calling && p.caller.speaker == s;
                         }) &&
            std::none_of(drawn.begin(), drawn.end(), [&](const Caller& d) { return d.speaker == s; }))
            unheard.push_back(s);
    const std::vector<std::string>& voices = unheard.empty() ? speakers_ : unheard;
    random_.reseedFromClock();
    c.speaker = voices[static_cast<std::size_t>(random_.draw(static_cast<int>(voices.size()), 0))];
    random_.reseedFromClock();
    c.twice = random_.draw(2, 0) == 1;
    return c;
}

void Pileup::join(const Caller& caller) {
    PileupCaller c;
    c.round = round_;
    c.caller = caller;
    c.row = practice_.addCallsign(caller.callsign);
    callers_.push_back(c);
    stationOf_.push_back(freeStation());
    ++joined_;
    report("caller", {{"callsign", caller.callsign},
                      {"levelDb", tenths(caller.levelHundredths / 100.0)},
                      {"offsetMs", static_cast<long long>(caller.offsetMs)},
                      {"speaker", caller.speaker.empty() ? std::string("default") : caller.speaker}});
}

void Pileup::fillStream(std::vector<std::size_t>& calling) {
    if (!stream_) return;
    while (static_cast<int>(calling.size()) < stationCount_ && joined_ < count_) {
        join(draw());
        calling.push_back(callers_.size() - 1);
    }
}

int Pileup::freeStation() const {
    for (int s = 0; s < kMostStations; ++s)
        if (std::find(stationOf_.begin(), stationOf_.end(), s) == stationOf_.end()) return s;
    return -1;
}

std::vector<std::size_t> Pileup::remaining() const {
    std::vector<std::size_t> who;
    for (std::size_t i = 0; i < callers_.size(); ++i)
        if (callers_[i].round == round_ && callers_[i].outcome == PileupCaller::Outcome::Calling) who.push_back(i);
    return who;
}

int Pileup::calling() const { return static_cast<int>(remaining().size()); }

void Pileup::schedule(Next next, int afterMs) {
    next_ = next;
    timer_.setEnabled(false);
    timer_.setInterval(std::max(afterMs, Timer::kMinimumPeriodMs));
    timer_.setEnabled(true);
}

void Pileup::callAgain(std::vector<std::size_t> who, int afterMs) {
    // Those whose calls have run out stay silent; when none of those asked has a call
    // left, the others call.
    const auto spent = [this](std::size_t i) { return callers_[i].calls >= kMostCalls; };
    std::erase_if(who, spent);
    if (who.empty()) std::erase_if(who = remaining(), spent);
    if (who.empty()) {
        endRound();
        return;
    }
    nextCall_ = std::move(who);
    if (afterMs <= 0) beginCall();
    else schedule(Next::Call, afterMs);
}

void Pileup::beginCall() {
    const int interval = readerIntervalMs(controls_.Slider1.value);
    int longest = 0;
    for (const std::size_t i : nextCall_) {
        PileupCaller& c = callers_[i];
        ++c.calls;
        report("call", {{"callsign", c.caller.callsign}, {"n", static_cast<long long>(c.calls)}});
        practice_.rowHeard(c.row, clock_.nowMs(), band_.callsignSnr(), c.caller.speaker);
        calls_.push_back({round_, clock_.nowMs() + c.caller.offsetMs, c.caller.levelHundredths, c.caller.speaker,
                          c.caller.callsign});
        CallerStation& station = *stations_[static_cast<std::size_t>(stationOf_[i])];
        longest = std::max(longest, station.call(c.caller, reader_.steadyVoice().figures, interval, band_.fadeLevel()));
    }
    // The listener has a while to answer; then those still calling call again.
    schedule(Next::Listened, longest + kListenMs);
}

bool Pileup::step() {
    if (!running_) return false;
    switch (next_) {
        case Next::Call: callAgain(nextCall_, 0); break;
        case Next::Listened: {
            // Nobody answered: the callers whose calls ran out leave, and in a stream
            // others take their place.
            for (const std::size_t i : remaining())
                if (callers_[i].calls >= kMostCalls) leave(callers_[i]);
            std::vector<std::size_t> calling = remaining();
            fillStream(calling);
            callAgain(calling, 0);
            break;
        }
        case Next::Round: startRound(); break;
        case Next::End:
            running_ = false;
            timer_.setEnabled(false);
            break;
    }
    return running_;
}

void Pileup::leave(PileupCaller& c) {
    c.outcome = c.busts > 0 ? PileupCaller::Outcome::Busted : PileupCaller::Outcome::Missed;
    stationOf_[static_cast<std::size_t>(&c - callers_.data())] = -1;
}

void Pileup::endRound() {
    for (const std::size_t i : remaining()) leave(callers_[i]);
    const bool more = stream_ ? joined_ < count_ : round_ < count_;
    schedule(more ? Next::Round : Next::End, kRoundGapMs);
}

void Pileup::answer(const std::string& typed) {
    // Between rounds nobody is calling: there is nothing to answer.
    if (!running_ || next_ == Next::Round || next_ == Next::End) return;
    // The listener transmits: the callers stop and listen.
    for (const auto& s : stations_) s->stop();
    const std::vector<std::size_t> who = remaining();
    std::vector<std::string> callsigns;
    for (const std::size_t i : who) callsigns.push_back(practice_.rows()[static_cast<std::size_t>(callers_[i].row - 1)].expected);
    const CallMatch match = matchCall(typed, callsigns);
    switch (match.kind) {
        case CallMatch::Kind::Worked: {
            PileupCaller& c = callers_[who[match.stations[0]]];
            c.outcome = PileupCaller::Outcome::Worked;
            c.workedAfter = c.calls;
            stationOf_[who[match.stations[0]]] = -1;
            ++worked_;
            practice_.storeAnswerAt(c.row, typed);
            report("worked", {{"callsign", c.caller.callsign}, {"calls", static_cast<long long>(c.calls)}});
            std::vector<std::size_t> rest = remaining();
            fillStream(rest);
            callAgain(rest, kReplyPauseMs);
            break;
        }
        case CallMatch::Kind::Bust: {
            PileupCaller& c = callers_[who[match.stations[0]]];
            ++c.busts;
            ++busts_;
            practice_.storeAnswerAt(c.row, typed);
            report("bust", {{"typed", typed}, {"nearest", c.caller.callsign}});
            callAgain({who[match.stations[0]]}, kReplyPauseMs);
            break;
        }
        case CallMatch::Kind::Query: {
            std::vector<std::size_t> asked;
            std::vector<std::string> names;
            for (const std::size_t k : match.stations) {
                asked.push_back(who[k]);
                names.push_back(callers_[who[k]].caller.callsign);
            }
            report("query", {{"part", match.part}, {"callers", names}});
            callAgain(asked.empty() ? who : asked, kReplyPauseMs);
            break;
        }
        case CallMatch::Kind::Nothing: callAgain(who, kReplyPauseMs); break;
    }
}

void Pileup::stop() {
    for (const auto& s : stations_) s->stop();
    timer_.setEnabled(false);
    if (!running_) return;
    for (const std::size_t i : remaining()) leave(callers_[i]);
    running_ = false;
}

void Pileup::release() {
    stop();
    for (const auto& s : stations_) s->release();
}

std::string Pileup::summaryText(int worked, int busts, double ratePerHour) {
    return "呼叫堆积：联络 " + std::to_string(worked) + " 个电台，抄错 " + std::to_string(busts) + " 次，每小时 " +
           std::to_string(static_cast<long long>(std::llround(ratePerHour))) + " 个";
}

double Pileup::ratePerHour(std::int64_t nowMs) const {
    const double hours = static_cast<double>(nowMs - startedMs_) / 3'600'000.0;
    return hours > 0 ? worked_ / hours : 0;
}

}  // namespace tessaly
