#include "headless/json_dump.h"

#include "practice/settings_of_form.h"

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

Json dumpState(FormState& f) {
    Json d;
    d["practising"] = f.practising;
    d["waitingForAnswer"] = f.waitingForAnswer;
    d["readPos"] = f.readPos;
    d["answerCount"] = f.answerCount;
    d["groupCount"] = f.groupCount;
    d["textLength"] = f.textLength;
    d["elapsedSeconds"] = f.elapsedSeconds;
    d["practiceText"] = f.Text1.text();
    Json rows = Json::array();
    for (const auto& r : f.ListView1.rows) rows.push_back(Json::array({r[0], r[1], r[2], r[3]}));
    d["rows"] = rows;
    d["selectedRow"] = f.ListView1.selectedRow.get();
    d["listTooltip"] = f.ListView1.toolTip.get();
    d["label6"] = f.Label6.caption.get();
    d["fadeLevel"] = f.fadeLevel;
    d["noiseDipLevel"] = f.noiseDipLevel;
    d["toneCentre"] = f.toneCentre;
    d["clipName"] = f.clipName;
    Json controls = Json::object();
    // The window's controls; the menu commands hold no state to show.
    for (const Control* c : f.controls().all())
        if (c->kind != ControlKind::MenuCommand) controls[c->name] = describe(*c);
    d["controls"] = controls;
    Json timers = Json::object();
    for (Timer* t : f.timers()) timers[t->name()] = Json{{"enabled", t->enabled()}, {"interval", t->interval()}};
    d["timers"] = timers;
    if (f.callsignSnrDb) d["snr"] = *f.callsignSnrDb;
    else if (f.additions.snrDb) d["snr"] = *f.additions.snrDb;
    d["path"] = f.additions.path;
    d["passband"] = f.additions.passband;
    d["agc"] = f.additions.agc;
    Json settings = Json::object();
    for (const auto& [name, value] : settingsFields(settingsOf(f))) settings[name] = value;
    d["settings"] = settings;
    return d;
}

Json dumpState(MainForm& form) {
    Json d = dumpState(static_cast<FormState&>(form));
    if (const auto& result = form.review.thresholdRun().result()) {
        Json snrs = Json::array();
        for (double snr : result->snrs) snrs.push_back(std::round(snr * 10.0) / 10.0);
        d["threshold"] = Json{{"snrDb", std::round(result->estimate.snrDb * 10.0) / 10.0},
                              {"se", std::round(result->estimate.se * 10.0) / 10.0},
                              {"snrs", snrs}};
    }
    if (form.review.recording()) {
        // The learning record, as the drill sees it.
        const LearningKeeper& keeper = form.review.keeper();
        Json boxes = Json::object();
        for (const ReviewBox& b : keeper.boxes()) boxes[b.unit] = Json{{"box", b.box}, {"due", b.due}};
        d["record"] = Json{{"practices", keeper.digest().practices()}, {"drill", form.drillUnits}, {"boxes", boxes}};
    }
    const ErrorAnalysis& analysis = form.review.analysis();
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
