// After a tick the window copies only the controls whose revision moved: every
// kind of change a handler makes must still show, and a widget the user moved
// where the logic did not follow is put back.
#include "window_fixture.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace tessaly::qt::testing {
namespace {

struct HandlerChange {
    const char* what;
    std::function<void(WindowControls&)> change;  // as a handler does it, on a tick
    std::function<bool(WindowFixture&)> shown;
};

void PrintTo(const HandlerChange& c, std::ostream* os) { *os << c.what; }

class SyncAfterTick : public ::testing::TestWithParam<HandlerChange> {};

TEST_P(SyncAfterTick, ShowsWhatAHandlerChanged) {
    WindowFixture f;
    f.window().syncFromModel();
    EXPECT_FALSE(GetParam().shown(f)) << "not so before";
    GetParam().change(f.form().controls());
    f.window().syncFromModel();
    EXPECT_TRUE(GetParam().shown(f));
}

const HandlerChange kChanges[] = {
    {"label caption", [](WindowControls& m) { m.Label6.caption = "00:01:02"; },
     [](WindowFixture& f) { return f.window().clockLabel()->text() == QStringLiteral("00:01:02"); }},
    {"enabled", [](WindowControls& m) { m.Option8.enabled = false; },
     [](WindowFixture& f) { return !f.option("Option8")->isEnabled(); }},
    {"option value", [](WindowControls& m) { m.Option3.select(); },
     [](WindowFixture& f) { return f.option("Option3")->isChecked() && !f.option("Option1")->isChecked(); }},
    {"check value", [](WindowControls& m) { m.Check2.value = 1; }, [](WindowFixture& f) { return f.check("Check2")->isChecked(); }},
    {"slider value", [](WindowControls& m) { m.Slider1.value = 9; }, [](WindowFixture& f) { return f.slider("Slider1")->value() == 9; }},
    {"text", [](WindowControls& m) { m.Text2.setText("7"); },
     [](WindowFixture& f) { return f.groupCount()->text() == QStringLiteral("7"); }},
    {"rows", [](WindowControls& m) { m.ListView1.addRow({"1", "AB1C", "", ""}); },
     [](WindowFixture& f) { return f.list()->topLevelItemCount() == 1 && f.list()->topLevelItem(0)->text(1) == QStringLiteral("AB1C"); }},
    {"selected row",
     [](WindowControls& m) {
         m.ListView1.addRow({"1", "", "", ""});
         m.ListView1.addRow({"2", "", "", ""});
         m.ListView1.selectedRow = 2;
     },
     [](WindowFixture& f) { return f.list()->shownSelectedRow() == 2; }},
    {"list tooltip", [](WindowControls& m) { m.ListView1.toolTip = "本次练习呼号听抄正确共3个"; },
     [](WindowFixture& f) { return f.list()->toolTip() == QStringLiteral("本次练习呼号听抄正确共3个"); }},
};

INSTANTIATE_TEST_SUITE_P(EveryKindOfChange, SyncAfterTick, ::testing::ValuesIn(kChanges),
                         [](const ::testing::TestParamInfo<HandlerChange>& info) {
                             std::string name = info.param.what;
                             for (char& c : name)
                                 if (c == ' ') c = '_';
                             return name;
                         });

TEST(Sync, ACellWrittenAfterTheRowsWereShownShows) {
    WindowFixture f;
    f.form().controls().ListView1.addRow({"1", "", "", ""});
    f.window().syncFromModel();
    f.form().controls().ListView1.setCell(0, 3, "Y");
    f.window().syncFromModel();
    EXPECT_EQ(f.list()->topLevelItem(0)->text(3), QStringLiteral("Y"));
}

TEST(Sync, AWidgetTheLogicDidNotFollowIsPutBack) {
    WindowFixture f;
    f.form().controls().Slider1.enabled = false;  // as the random speed leaves it
    f.window().syncFromModel();
    // A change the logic ignores (a disabled control) reaches the widget all the same.
    f.slider("Slider1")->setEnabled(true);
    f.slider("Slider1")->setValue(2);
    EXPECT_EQ(f.form().controls().Slider1.value, 5);
    EXPECT_EQ(f.slider("Slider1")->value(), 5);
    EXPECT_FALSE(f.slider("Slider1")->isEnabled());
}

}  // namespace
}  // namespace tessaly::qt::testing
