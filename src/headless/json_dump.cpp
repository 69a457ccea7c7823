#include "headless/json_dump.h"

namespace tessaly {

using Json = nlohmann::ordered_json;

namespace {
Json describe(Control* c) {
    Json j;
    j["enabled"] = c->enabled;
    if (auto* o = dynamic_cast<OptionButton*>(c)) j["value"] = o->value;
    else if (auto* k = dynamic_cast<CheckBox*>(c)) j["value"] = k->value;
    else if (auto* s = dynamic_cast<Slider*>(c)) j["value"] = s->value;
    else if (auto* t = dynamic_cast<TextBox*>(c)) j["text"] = t->text();
    else if (auto* l = dynamic_cast<Label*>(c)) j["caption"] = l->caption;
    if (!c->toolTip.empty()) j["toolTip"] = c->toolTip;
    return j;
}
}  // namespace

Json dumpState(MainForm& f) {
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
    d["selectedRow"] = f.ListView1.selectedRow;
    d["listTooltip"] = f.ListView1.toolTip;
    d["label6"] = f.Label6.caption;
    d["fadeLevel"] = f.fadeLevel;
    d["noiseDipLevel"] = f.noiseDipLevel;
    d["toneCentre"] = f.toneCentre;
    d["clipName"] = f.clipName;
    Json controls = Json::object();
    for (Control* c : f.controls()) controls[c->name] = describe(c);
    d["controls"] = controls;
    Json timers = Json::object();
    for (Timer* t : f.timers()) timers[t->name()] = Json{{"enabled", t->enabled()}, {"interval", t->interval()}};
    d["timers"] = timers;
    return d;
}

}  // namespace tessaly
