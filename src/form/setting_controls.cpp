#include "form/setting_controls.h"

#include "form/session.h"
#include "form/user_input.h"

namespace tessaly {
namespace {

const SettingControl kTable[] = {
    {"groups", [](const Session& s, PracticeSettings& p) { p.groups = s.controls().groupsAsked(); },
     [](UserInput& u, const Session& s, const PracticeSettings& p) {
         if (s.controls().Text2.text() != std::to_string(p.groups)) u.setText("Text2", std::to_string(p.groups));
     }},
    {"source",
     [](const Session& s, PracticeSettings& p) {
         p.source = s.controls().libraryChosen() ? CallsignSource::Library : CallsignSource::Random;
     },
     [](UserInput& u, const Session&, const PracticeSettings& p) {
         u.click(p.source == CallsignSource::Library ? "Option11" : "Option10");
     }},
    {"words", [](const Session& s, PracticeSettings& p) { p.words = s.controls().words(); },
     [](UserInput& u, const Session& s, const PracticeSettings& p) {
         u.click(s.controls().Option7[static_cast<int>(p.words)].name);
     }},
    {"mode",
     [](const Session& s, PracticeSettings& p) {
         p.mode = s.groupedReading() ? ReadingMode::Grouped : ReadingMode::Continuous;
     },
     [](UserInput& u, const Session&, const PracticeSettings& p) {
         u.click(p.mode == ReadingMode::Continuous ? "Option9" : "Option8");
     }},
    {"speed", [](const Session& s, PracticeSettings& p) { p.speed = s.controls().Slider1.value; },
     [](UserInput& u, const Session&, const PracticeSettings& p) { u.slide("Slider1", p.speed); }},
    {"tone", [](const Session& s, PracticeSettings& p) { p.tone = s.controls().Slider2.value; },
     [](UserInput& u, const Session&, const PracticeSettings& p) { u.slide("Slider2", p.tone); }},
    {"noise", [](const Session& s, PracticeSettings& p) { p.noise = s.controls().noiseLevel(); },
     [](UserInput& u, const Session& s, const PracticeSettings& p) {
         u.click(s.controls().noiseButtons()[static_cast<std::size_t>(p.noise)]->name);
     }},
    {"conditions",
     [](const Session& s, PracticeSettings& p) {
         for (const Condition c : allConditions()) p.set(c, s.controls().ticked(c));
     },
     [](UserInput& u, const Session& s, const PracticeSettings& p) {
         const auto boxes = s.controls().conditionBoxes();
         for (std::size_t i = 0; i < boxes.size(); ++i)
             if (p.has(allConditions()[i]) != boxes[i]->ticked()) u.click(boxes[i]->name);
     }},
    {"snr", [](const Session& s, PracticeSettings& p) { p.snrDb = s.band().snrSetting(); },
     [](UserInput& u, const Session&, const PracticeSettings& p) { u.setSnr(p.snrDb); }},
    {"path", [](const Session& s, PracticeSettings& p) { p.path = s.band().path(); },
     [](UserInput& u, const Session&, const PracticeSettings& p) { u.setPath(p.path); }},
    {"passband", [](const Session& s, PracticeSettings& p) { p.passband = s.band().passband(); },
     [](UserInput& u, const Session&, const PracticeSettings& p) { u.setPassband(p.passband); }},
    {"agc", [](const Session& s, PracticeSettings& p) { p.agc = s.band().agc(); },
     [](UserInput& u, const Session&, const PracticeSettings& p) { u.setAgc(p.agc); }},
    {"threshold", [](const Session& s, PracticeSettings& p) { p.threshold = s.threshold().armed(); },
     [](UserInput& u, const Session&, const PracticeSettings& p) { u.setThreshold(p.threshold); }},
    {"speaker", [](const Session& s, PracticeSettings& p) { p.speaker = s.reader().speakerChoice(); },
     [](UserInput& u, const Session&, const PracticeSettings& p) { u.setSpeaker(p.speaker); }},
    {"digits", [](const Session& s, PracticeSettings& p) { p.figures = s.reader().figures(); },
     [](UserInput& u, const Session&, const PracticeSettings& p) { u.setFigures(p.figures); }},
    {"pileup", [](const Session& s, PracticeSettings& p) { p.pileup = s.pileup().stations(); },
     [](UserInput& u, const Session&, const PracticeSettings& p) { u.setPileup(p.pileup); }},
    {"pileup-stream", [](const Session& s, PracticeSettings& p) { p.pileupStream = s.pileup().stream(); },
     [](UserInput& u, const Session&, const PracticeSettings& p) { u.setPileupStream(p.pileupStream); }},
};

}  // namespace

const std::vector<SettingControl>& settingControls() {
    static const std::vector<SettingControl> table(std::begin(kTable), std::end(kTable));
    return table;
}

PracticeSettings settingsOf(const Session& session) {
    PracticeSettings settings;
    for (const SettingControl& entry : settingControls()) entry.read(session, settings);
    return settings;
}

void applySettings(UserInput& user, const Session& session, const PracticeSettings& settings) {
    for (const SettingControl& entry : settingControls()) entry.apply(user, session, settings);
}

}  // namespace tessaly
