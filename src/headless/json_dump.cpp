#include "headless/json_dump.h"

#include "form/setting_controls.h"

#include <cmath>

namespace tessaly {

using Json = nlohmann::ordered_json;

namespace {
Json describe(const Control& c) {
    Json j;
    j["enabled"] = c.enabled.get();
    switch (c.kind) {
        case ControlKind::OptionButton: j["value"] = static_cast<const OptionButton&>(c).value.get(); break;
        case ControlKind::CheckBox: j["value"] = static_cast<const CheckBox&>(c).value.get(); break;
        case ControlKind::Slider: j["value"] = static_cast<const Slider&>(c).value.get(); break;
        case ControlKind::TextBox: j["text"] = static_cast<const TextBox&>(c).text(); break;
        case ControlKind::Label: j["caption"] = static_cast<const Label&>(c).caption.get(); break;
        case ControlKind::Button:
        case ControlKind::MenuCommand:
        case ControlKind::ListView: break;
    }
    if (!c.toolTip->empty()) j["toolTip"] = c.toolTip.get();
    return j;
}
}  // namespace

Json dumpState(const Session& session) {
    const Practice& practice = session.practice();
    const PracticeReader& reader = session.reader();
    const Band& band = session.band();
    const WindowControls& c = session.controls();
    Json d;
    d["practising"] = practice.practising();
    d["waitingForAnswer"] = reader.waitingForAnswer();
    d["readPos"] = reader.readPos();
    d["answerCount"] = practice.answerCount();
    d["groupCount"] = practice.groupCount();
    d["textLength"] = practice.textLength();
    d["elapsedSeconds"] = practice.elapsedSeconds();
    d["practiceText"] = practice.text();
    Json rows = Json::array();
    for (const auto& r : c.ListView1.rows) rows.push_back(Json::array({r[0], r[1], r[2], r[3]}));
    d["rows"] = rows;
    d["selectedRow"] = c.ListView1.selectedRow.get();
    d["listTooltip"] = c.ListView1.toolTip.get();
    d["label6"] = c.Label6.caption.get();
    d["fadeLevel"] = band.fadeLevel();
    d["noiseDipLevel"] = band.noiseDipLevel();
    d["toneCentre"] = reader.toneCentre();
    d["clipName"] = reader.clipName();
    d["speaker"] = reader.speaker().empty() ? "default" : reader.speaker();
    Json controls = Json::object();
    // The window's controls; the menu commands hold no state to show.
    for (const Control* control : c.registry().all())
        if (control->kind != ControlKind::MenuCommand) controls[control->name] = describe(*control);
    d["controls"] = controls;
    Json timers = Json::object();
    for (const Timer* t : session.timers()) timers[t->name()] = Json{{"enabled", t->enabled()}, {"interval", t->interval()}};
    d["timers"] = timers;
    if (band.callsignSnr()) d["snr"] = *band.callsignSnr();
    else if (band.snrSetting()) d["snr"] = *band.snrSetting();
    d["path"] = band.path();
    d["passband"] = band.passband();
    d["agc"] = band.agc();
    Json settings = Json::object();
    for (const auto& [name, value] : settingsFields(settingsOf(session))) settings[name] = value;
    d["settings"] = settings;
    if (const auto& result = session.threshold().result()) {
        Json snrs = Json::array();
        for (double snr : result->snrs) snrs.push_back(std::round(snr * 10.0) / 10.0);
        d["threshold"] = Json{{"snrDb", std::round(result->estimate.snrDb * 10.0) / 10.0},
                              {"se", std::round(result->estimate.se * 10.0) / 10.0},
                              {"snrs", snrs}};
    }
    const Pileup& pileup = session.pileup();
    if (pileup.stations() > 0 || !pileup.callers().empty()) {
        Json callers = Json::array();
        for (const PileupCaller& c : pileup.callers())
            callers.push_back(Json{{"round", c.round},
                                   {"callsign", c.caller.callsign},
                                   {"levelDb", std::round(c.caller.levelHundredths / 10.0) / 10.0},
                                   {"offsetMs", c.caller.offsetMs},
                                   {"speaker", c.caller.speaker.empty() ? "default" : c.caller.speaker},
                                   {"calls", c.calls},
                                   {"busts", c.busts},
                                   {"outcome", outcomeName(c.outcome)}});
        d["pileup"] = Json{{"stations", pileup.stations()},   {"stream", pileup.stream()},
                           {"round", pileup.round()},         {"calling", pileup.calling()},
                           {"worked", pileup.worked()},       {"busts", pileup.busts()},
                           {"callers", callers}};
    }
    const PracticeReview& review = session.review();
    if (review.recording()) {
        // The learning record, as the drill sees it.
        const LearningKeeper& keeper = review.keeper();
        Json boxes = Json::object();
        for (const ReviewBox& b : keeper.boxes()) boxes[b.unit] = Json{{"box", b.box}, {"due", b.due}};
        d["record"] = Json{{"practices", keeper.digest().practices()}, {"drill", review.drillUnits()}, {"boxes", boxes}};
    }
    const ErrorAnalysis& analysis = review.analysis();
    if (analysis.practices() == 0) return d;
    Json units = Json::object();
    for (const UnitErrors& u : analysis.rows()) {
        Json written = Json::object();
        for (const auto& [token, count] : u.writtenAs) written[token] = count;
        units[u.unit] = Json{{"read", u.read}, {"missed", u.missed}, {"writtenAs", written}};
    }
    d["analysis"] = units;
    return d;
}

}  // namespace tessaly
