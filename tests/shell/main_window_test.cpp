// The main window as a user meets it: its fixed layout, and that every kind of
// control passes the user's action to the logic and shows the logic's answer.
// What the logic then does is the core suites' business.
#include "shell/qt/analysis_window.h"
#include "window_fixture.h"

#include <QAction>
#include <QMenu>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <gtest/gtest.h>

#include <fstream>

namespace tessaly::qt::testing {
namespace {

void hoverOver(QWidget* w) {
    const QPointF at(10, 10);
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

void start(WindowFixture& f) { QTest::mouseClick(f.button("Command4"), Qt::LeftButton); }

// Runs the reader in virtual time until it halts for the first answer.
bool readFirstCallsign(WindowFixture& f) {
    for (int ms = 0; ms < 60'000 && !f.form().reader().waitingForAnswer(); ms += 100) f.advance(100);
    return f.form().reader().waitingForAnswer();
}

TEST(MainWindow, HasItsLayoutAtItsNormalSize) {
    WindowFixture f;
    MainWindow& w = f.window();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tessaly V2.0  BY Orvane"));
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(w.centralWidget()->size(), QSize(625, 526));  // 9375 x 7890 twips
    EXPECT_GT(w.maximumSize().width(), 625) << "it may grow";

    const QList<QAction*> menu = w.menuBar()->actions();
    ASSERT_EQ(menu.size(), 3);
    EXPECT_EQ(menu[0]->text(), QStringLiteral("退出(&Q)"));
    EXPECT_EQ(menu[1]->text(), QStringLiteral("关于(&A)"));
    EXPECT_TRUE(!menu[0]->menu() && !menu[1]->menu());  // commands, not menus
    EXPECT_EQ(menu[2]->text(), QStringLiteral("学习(&L)"));
    EXPECT_EQ(menu[2]->menu(), w.learningMenu());

    AnswerList* list = f.list();
    ASSERT_EQ(list->columnCount(), 4);
    const int widths[] = {40, 132, 132, 27};  // 600, 1975, 1975, 400 twips
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(list->headerItem()->text(c), QString());
        EXPECT_EQ(list->columnWidth(c), widths[c]);
    }
    EXPECT_EQ(list->headerItem()->textAlignment(3), int(Qt::AlignCenter));
    EXPECT_EQ(f.option("Option7(4)")->text(), QStringLiteral("三级考试标准发音"));
    EXPECT_EQ(f.button("Command4")->toolTip(), QStringLiteral("点击此按钮开始进行听抄练习"));
    EXPECT_EQ(f.answerBox()->toolTip(), QStringLiteral("输入完毕后按回车确认"));
}

// Every control of the form that the user can see has its widget, showing the
// control's state from the start.
TEST(MainWindow, ShowsEveryVisibleControl) {
    WindowFixture f;
    for (const Control* c : f.form().controls().registry().all()) {
        const bool hidden = c->name == "Text1" || c->name == "Text3" || c->name == "Text5" || c->name == "Command1" ||
                            c->kind == ControlKind::MenuCommand;
        QWidget* w = f.window().widget(c->name);
        EXPECT_EQ(w != nullptr, !hidden) << c->name;
        if (w && c->name != "Text6") {
            EXPECT_EQ(w->isEnabled(), c->enabled) << c->name;
        }
    }
    EXPECT_TRUE(f.option("Option1")->isChecked());
    EXPECT_FALSE(f.option("Option2")->isChecked());
    EXPECT_EQ(f.slider("Slider2")->value(), 2500);
    EXPECT_EQ(f.groupCount()->text(), QStringLiteral("20"));
    EXPECT_FALSE(f.answerBox()->isEnabled()) << "disabled by the load";
}

// One row per kind of control: the user's action on the widget, and what the
// logic (and then the widget) must show for it.
struct Wiring {
    const char* kind;
    std::function<void(WindowFixture&)> act;
    std::function<void(WindowFixture&)> check;
};

void PrintTo(const Wiring& w, std::ostream* os) { *os << w.kind; }

class WiredControl : public ::testing::TestWithParam<Wiring> {};

TEST_P(WiredControl, PassesTheUserToTheLogicAndShowsItsAnswer) {
    WindowFixture f;
    GetParam().act(f);
    f.window().syncFromModel();
    GetParam().check(f);
}

const Wiring kWirings[] = {
    {"button", [](WindowFixture& f) { start(f); },
     [](WindowFixture& f) {
         EXPECT_TRUE(f.form().practice().practising());
         EXPECT_FALSE(f.button("Command4")->isEnabled());
         EXPECT_EQ(f.list()->topLevelItemCount(), 20);
     }},
    {"option button", [](WindowFixture& f) { QTest::mouseClick(f.option("Option4"), Qt::LeftButton); },
     [](WindowFixture& f) {
         EXPECT_TRUE(f.form().controls().Option4.value);
         EXPECT_FALSE(f.option("Option1")->isChecked());
     }},
    {"check box", [](WindowFixture& f) { f.check("Check4")->click(); },
     [](WindowFixture& f) {
         EXPECT_EQ(f.form().controls().Check4.value, 1);
         // The logic disabled the level buttons it overrides; the window shows it.
         EXPECT_FALSE(f.option("Option3")->isEnabled());
     }},
    {"text box", [](WindowFixture& f) {
         f.groupCount()->selectAll();
         QTest::keyClicks(f.groupCount(), "x");
     },
     [](WindowFixture& f) {
         ASSERT_EQ(f.messages.size(), 1u);
         EXPECT_EQ(f.messages[0].text, QStringLiteral("练习组数必须为数字!"));
         EXPECT_EQ(f.groupCount()->text(), QStringLiteral("10")) << "the text the logic put back";
     }},
    {"answer box", [](WindowFixture& f) {
         start(f);
         QTest::keyClicks(f.answerBox(), "ab1c");
         QTest::keyClick(f.answerBox(), Qt::Key_Return);
     },
     [](WindowFixture& f) {
         EXPECT_EQ(f.list()->topLevelItem(0)->text(1), QStringLiteral("AB1C"));
         EXPECT_TRUE(f.answerBox()->text().isEmpty());
     }},
    {"slider", [](WindowFixture& f) { QTest::keyClick(f.slider("Slider1"), Qt::Key_Left); },
     [](WindowFixture& f) { EXPECT_EQ(f.form().controls().Slider1.value, 4); }},
    {"list", [](WindowFixture& f) {
         start(f);
         QTest::mouseClick(f.button("Command5"), Qt::LeftButton);  // a stopped, marked practice
         hoverOver(f.list()->viewport());
     },
     [](WindowFixture& f) {
         const QString summary = QStringLiteral("本次练习呼号听抄正确共0个");
         EXPECT_EQ(f.list()->toolTip(), summary);
         // Resting over a row shows the list's summary, not a tooltip of the row.
         QHelpEvent help(QEvent::ToolTip, QPoint(10, 10), f.list()->viewport()->mapToGlobal(QPoint(10, 10)));
         QApplication::sendEvent(f.list()->viewport(), &help);
         EXPECT_EQ(QToolTip::text(), summary);
         QToolTip::hideText();
     }},
    {"label", [](WindowFixture& f) {
         start(f);
         f.advance(3000);
     },
     [](WindowFixture& f) { EXPECT_EQ(f.window().clockLabel()->text(), QStringLiteral("00:00:03")); }},
    {"menu command", [](WindowFixture& f) { f.window().quitAction()->trigger(); },
     [](WindowFixture& f) { EXPECT_EQ(f.quits, 1); }},
};

INSTANTIATE_TEST_SUITE_P(EveryKind, WiredControl, ::testing::ValuesIn(kWirings),
                         [](const ::testing::TestParamInfo<Wiring>& info) {
                             std::string name = info.param.kind;
                             for (char& c : name)
                                 if (c == ' ') c = '_';
                             return name;
                         });

TEST(MainWindow, AnswerBoxKeepsItsCaretAtTheEndAndPastesAsTyped) {
    WindowFixture f;
    start(f);
    AnswerBox* box = f.answerBox();
    QTest::keyClicks(box, "ab");
    QTest::keyClick(box, Qt::Key_Left);
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClicks(box, "1c");
    EXPECT_EQ(box->text(), QStringLiteral("AB1C"));
    EXPECT_EQ(box->cursorPosition(), 4);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(box->text(), QStringLiteral("AB1"));

    // A paste goes through the rules of typed keys: capitals, and nothing that no key types.
    QApplication::clipboard()->setText(QStringLiteral("cd\t/m\x01\r\n"));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text(), QStringLiteral("AB1CD/M"));
    EXPECT_EQ(box->cursorPosition(), 7);
    EXPECT_EQ(QString::fromStdString(f.form().controls().Text6.text()), box->text());
}

TEST(MainWindow, MessageBoxIsModalWithTheInformationIcon) {
    WindowFixture f(/*realMessageBoxes=*/true);
    QString text, button;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool modal = false;
    int polls = 0;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* top = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(top)) {
            text = box->text();
            icon = box->icon();
            modal = box->isModal();
            if (!box->buttons().isEmpty()) button = box->buttons().front()->text();
            box->accept();
        } else if (top && ++polls > 500) {
            top->close();  // not what we wait for: never hang the suite
        }
    });
    answer.start(5);
    f.groupCount()->selectAll();
    QTest::keyClicks(f.groupCount(), "x");  // returns once the box is answered
    answer.stop();
    EXPECT_EQ(text, QStringLiteral("练习组数必须为数字!"));
    EXPECT_EQ(icon, QMessageBox::Information);
    EXPECT_TRUE(modal);
    EXPECT_EQ(button, QStringLiteral("确定"));
    EXPECT_EQ(f.groupCount()->text(), QStringLiteral("10"));
}

TEST(MainWindow, SaysQuietlyWhileThereIsNoSoundAndMovesNothing) {
    WindowFixture f;
    f.window().show();
    const QPoint start = f.button("Command4")->mapTo(&f.window(), QPoint());
    const QRect client = f.window().centralWidget()->geometry();
    f.soundNow = {SoundState::Silent, 1};
    f.session.pollSound();
    QLabel* notice = f.window().noSoundNotice();
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->text(), QStringLiteral("无声音输出设备，声音恢复后自动继续"));
    QApplication::processEvents();  // the menu bar lays its corner out
    EXPECT_GE(notice->width(), notice->sizeHint().width()) << "the whole notice shows";
    EXPECT_EQ(f.button("Command4")->mapTo(&f.window(), QPoint()), start);
    EXPECT_EQ(f.window().centralWidget()->geometry(), client);
    EXPECT_FALSE(QRect(notice->mapTo(&f.window(), QPoint()), notice->size()).intersects(client))
        << "in the menu bar, above the practice";
    f.soundNow = {SoundState::Device, 2};
    f.session.pollSound();
    EXPECT_FALSE(notice->isVisible());
}

// The answer list's learning menu, after a practice of two callsigns with one answer.
TEST(MainWindow, ListMenuReplaysAnalysesDrillsAndExportsTheMarkedList) {
    WindowFixture f;
    f.window().show();
    f.groupCount()->selectAll();
    QTest::keyClicks(f.groupCount(), "2");
    start(f);
    ASSERT_TRUE(readFirstCallsign(f));
    QTest::keyClicks(f.answerBox(), "x1x");
    QTest::keyClick(f.answerBox(), Qt::Key_Return);
    QTest::mouseClick(f.button("Command5"), Qt::LeftButton);

    auto actions = [&](int row) {
        auto menu = f.window().listMenu(row);
        std::vector<QAction*> list;
        for (QAction* a : menu->actions()) list.push_back(a);
        return std::pair{std::move(menu), list};
    };
    auto [menu, items] = actions(1);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0]->text(), QStringLiteral("重听"));
    EXPECT_EQ(items[3]->text(), QStringLiteral("导出成绩…"));
    EXPECT_FALSE(actions(0).second[0]->isEnabled()) << "no row under the pointer";

    const int clips = f.operationsOf("clip", "create");
    items[0]->trigger();
    f.advance(10'000);
    EXPECT_EQ(f.operationsOf("clip", "create"), clips + static_cast<int>(f.form().review().lastRecord().rows[0].line.size()));
    // A double-click on a row replays it too.
    QTreeWidgetItem* row2 = f.list()->topLevelItem(1);
    const QPoint at = f.list()->visualItemRect(row2).center();
    QTest::mouseClick(f.list()->viewport(), Qt::LeftButton, Qt::NoModifier, at);  // the press a double-click follows
    QTest::mouseDClick(f.list()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_GT(f.operationsOf("clip", "create"), clips + static_cast<int>(f.form().review().lastRecord().rows[0].line.size()));

    items[1]->trigger();
    ASSERT_TRUE(f.window().analysisWindow());
    EXPECT_TRUE(f.window().analysisWindow()->isVisible());
    EXPECT_FALSE(f.window().analysisWindow()->rows().empty());

    items[2]->trigger();
    EXPECT_TRUE(f.form().review().drill());

    const std::string path = ::testing::TempDir() + "tessaly_window_export.csv";
    f.window().chooseExportFile = [&] { return path; };
    items[3]->trigger();
    std::ifstream saved(path);
    std::string header;
    std::getline(saved, header);
    EXPECT_EQ(header.rfind("number,answer,expected,mark", 0), 0u) << header;
    std::remove(path.c_str());
}

TEST(MainWindow, SliderDragChangesTheSpeedWhenLetGo) {
    WindowFixture f;
    start(f);
    // While the reader waits for an answer nothing else re-applies the speed, so
    // only the slider's own change event can.
    ASSERT_TRUE(readFirstCallsign(f));
    EXPECT_EQ(f.form().timer("Timer2")->interval(), 1100);
    QSlider* speed = f.slider("Slider1");
    speed->setSliderDown(true);
    speed->setSliderPosition(8);
    EXPECT_EQ(f.form().controls().Slider1.value, 8);  // the value follows the thumb
    EXPECT_EQ(f.form().timer("Timer2")->interval(), 1100);
    f.advance(50);
    EXPECT_EQ(speed->sliderPosition(), 8);
    speed->setSliderDown(false);
    EXPECT_EQ(f.form().timer("Timer2")->interval(), 8 * 120 + 500);
}

TEST(MainWindow, QuitEndsWithoutTheUnloadStep) {
    WindowFixture f;
    start(f);
    f.window().quitAction()->trigger();
    EXPECT_EQ(f.quits, 1);
    f.window().close();
    EXPECT_EQ(f.operationsOf("qrn", "release"), 0);
}

TEST(MainWindow, ClosingWhilePractisingUnloadsAndStopsEveryTimer) {
    std::vector<SoundOperation> operations;
    TracingSoundPlatform sound(nullptr, [&](const SoundOperation& op) { operations.push_back(op); });
    DesktopSession session(sound);  // timers on the Qt event loop
    session.load();
    session.input().click("Command4");
    session.window().syncFromModel();
    QtTimerClock& clock = *session.qtClock();
    EXPECT_EQ(clock.countdownMs(*session.form().timer("Timer2")), 1100);
    EXPECT_EQ(clock.countdownMs(*session.form().timer("Timer12")), 1000);

    session.window().show();
    session.window().close();
    EXPECT_TRUE(std::any_of(operations.begin(), operations.end(),
                            [](const SoundOperation& op) { return op.buffer == "qrn" && op.op == "release"; }));
    for (const Timer* t : session.form().timers()) EXPECT_EQ(clock.countdownMs(*t), -1) << t->name();
}

}  // namespace
}  // namespace tessaly::qt::testing
