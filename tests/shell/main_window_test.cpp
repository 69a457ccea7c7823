#include "main_window_test.h"

#include "practice/answers.h"
#include "window_fixture.h"

#include <QAction>
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

namespace tessaly::qt::testing {

namespace {

QString expectedCopy(const std::string& line) { return QString::fromStdString(ExpectedCopy(line)); }

void hoverOver(QWidget* w) {
    const QPointF at(10, 10);
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

void start(WindowFixture& f) { QTest::mouseClick(f.button("Command4"), Qt::LeftButton); }

// Runs the reader in virtual time until it halts for the first answer.
bool readFirstCallsign(WindowFixture& f) {
    for (int ms = 0; ms < 60'000 && !f.form().waitingForAnswer; ms += 100) f.advance(100);
    return f.form().waitingForAnswer;
}

}  // namespace

void MainWindowTest::freshWindowShowsTheDefaults() {
    WindowFixture f;
    MainWindow& w = f.window();
    QCOMPARE(w.windowTitle(), QStringLiteral("Tessaly V2.0  BY Orvane"));
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QCOMPARE(w.centralWidget()->size(), QSize(625, 526));  // 9375 x 7890 twips

    const QList<QAction*> menu = w.menuBar()->actions();
    QCOMPARE(menu.size(), 2);
    QCOMPARE(menu[0]->text(), QStringLiteral("退出(&Q)"));
    QCOMPARE(menu[1]->text(), QStringLiteral("关于(&A)"));
    QVERIFY(!menu[0]->menu() && !menu[1]->menu());  // commands, not menus

    QCOMPARE(w.clockLabel()->text(), QStringLiteral("00:00:00"));
    AnswerList* list = f.list();
    QCOMPARE(list->topLevelItemCount(), 0);
    QCOMPARE(list->columnCount(), 4);
    const int widths[] = {40, 132, 132, 27};  // 600, 1975, 1975, 400 twips
    for (int c = 0; c < 4; ++c) {
        QCOMPARE(list->headerItem()->text(c), QString());
        QCOMPARE(list->columnWidth(c), widths[c]);
    }
    QCOMPARE(list->headerItem()->textAlignment(3), int(Qt::AlignCenter));
    QVERIFY(list->toolTip().isEmpty());

    for (const char* name : {"Option1", "Option7(4)", "Option8", "Option10"}) QVERIFY2(f.option(name)->isChecked(), name);
    for (const char* name : {"Option2", "Option3", "Option4", "Option5", "Option6", "Option7(0)", "Option7(1)",
                             "Option7(2)", "Option7(3)", "Option9", "Option11"})
        QVERIFY2(!f.option(name)->isChecked(), name);
    for (const char* name : {"Check1", "Check2", "Check3", "Check4", "Check5", "Check6"})
        QVERIFY2(!f.check(name)->isChecked(), name);
    QCOMPARE(f.option("Option7(4)")->text(), QStringLiteral("三级考试标准发音"));

    QSlider* speed = f.slider("Slider1");
    QCOMPARE(speed->value(), 5);
    QCOMPARE(speed->minimum(), 0);
    QCOMPARE(speed->maximum(), 10);
    QCOMPARE(speed->pageStep(), 5);
    QSlider* tone = f.slider("Slider2");
    QCOMPARE(tone->value(), 2500);
    QCOMPARE(tone->minimum(), 80);
    QCOMPARE(tone->maximum(), 5000);
    QCOMPARE(tone->singleStep(), 100);
    QCOMPARE(tone->pageStep(), 500);

    QCOMPARE(f.groupCount()->text(), QStringLiteral("20"));
    QVERIFY(!f.answerBox()->isEnabled());
    QVERIFY(f.answerBox()->text().isEmpty());
    QCOMPARE(f.answerBox()->toolTip(), QStringLiteral("输入完毕后按回车确认"));
    QVERIFY(f.button("Command4")->isEnabled());
    QVERIFY(f.button("Command5")->isEnabled());
    QCOMPARE(f.button("Command4")->text(), QStringLiteral("开始"));
    QCOMPARE(f.button("Command4")->toolTip(), QStringLiteral("点击此按钮开始进行听抄练习"));
    QCOMPARE(f.button("Command5")->text(), QStringLiteral("停止"));
    QCOMPARE(f.button("Command5")->toolTip(), QStringLiteral("停止听抄并且查看答案"));
}

void MainWindowTest::wholePracticeFromStartToTheMarks() {
    WindowFixture f;
    f.window().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window()));

    f.groupCount()->selectAll();
    QTest::keyClicks(f.groupCount(), "2");
    QCOMPARE(f.form().Text2.text(), std::string("2"));
    QVERIFY(f.messages.empty());

    start(f);
    QVERIFY(!f.button("Command4")->isEnabled());
    QVERIFY(f.answerBox()->isEnabled());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.answerBox()));
    QCOMPARE(f.list()->topLevelItemCount(), 2);
    QCOMPARE(f.list()->topLevelItem(1)->text(0), QStringLiteral("2"));
    const auto lines = f.practiceLines();
    QCOMPARE(lines.size(), std::size_t(2));

    QVERIFY(readFirstCallsign(f));
    QVERIFY(f.window().clockLabel()->text() != QStringLiteral("00:00:00"));
    const QString first = expectedCopy(lines[0]);
    QTest::keyClicks(f.answerBox(), first.toLower());
    QCOMPARE(f.answerBox()->text(), first);  // typed in lower case, shown in capitals
    QTest::keyClick(f.answerBox(), Qt::Key_Return);
    QVERIFY(f.answerBox()->text().isEmpty());
    QCOMPARE(f.list()->topLevelItem(0)->text(1), first);
    QCOMPARE(f.list()->currentItem(), f.list()->topLevelItem(0));
    QVERIFY(!f.form().waitingForAnswer);  // the answer let the reader go on

    QTest::keyClicks(f.answerBox(), "zz9zz");
    QTest::keyClick(f.answerBox(), Qt::Key_Enter);
    QCOMPARE(f.list()->topLevelItem(1)->text(1), QStringLiteral("ZZ9ZZ"));
    QCOMPARE(f.list()->currentItem(), f.list()->topLevelItem(1));

    // During the practice the list keeps the (empty) summary of no earlier practice.
    hoverOver(f.list()->viewport());
    QVERIFY(f.list()->toolTip().isEmpty());

    QTest::mouseClick(f.button("Command5"), Qt::LeftButton);
    const QTreeWidgetItem* row1 = f.list()->topLevelItem(0);
    const QTreeWidgetItem* row2 = f.list()->topLevelItem(1);
    QCOMPARE(row1->text(2), first);
    QCOMPARE(row1->text(3), QStringLiteral("Y"));
    QCOMPARE(row2->text(2), expectedCopy(lines[1]));
    QCOMPARE(row2->text(3), QStringLiteral("N"));
    QCOMPARE(row2->textAlignment(3), int(Qt::AlignCenter));
    QVERIFY(!f.answerBox()->isEnabled());
    QVERIFY(f.button("Command4")->isEnabled());

    const QString summary = QStringLiteral("本次练习呼号听抄正确共1个");
    hoverOver(f.list()->viewport());
    QCOMPARE(f.list()->toolTip(), summary);
    // Resting over a row shows the list's summary, not a tooltip of the row.
    QHelpEvent help(QEvent::ToolTip, QPoint(10, 10), f.list()->viewport()->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(f.list()->viewport(), &help);
    QCOMPARE(QToolTip::text(), summary);
    QToolTip::hideText();
}

void MainWindowTest::answerBoxKeepsItsCaretAtTheEnd() {
    WindowFixture f;
    start(f);
    AnswerBox* box = f.answerBox();
    QTest::keyClicks(box, "ab");
    QTest::keyClick(box, Qt::Key_Left);
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClicks(box, "1c");
    QCOMPARE(box->text(), QStringLiteral("AB1C"));
    QCOMPARE(box->cursorPosition(), 4);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(box->text(), QStringLiteral("AB1"));
    QCOMPARE(QString::fromStdString(f.form().Text6.text()), box->text());

    // A paste passes no key handling: its lower case stays.
    QApplication::clipboard()->setText(QStringLiteral("cd/m"));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), QStringLiteral("AB1cd/m"));
    QCOMPARE(box->cursorPosition(), 7);

    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(f.list()->topLevelItem(0)->text(1), QStringLiteral("AB1cd/m"));
    // Enter on the empty box stores nothing.
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(f.form().answerCount, 1);
    QVERIFY(f.list()->topLevelItem(1)->text(1).isEmpty());
}

void MainWindowTest::groupCountEditsAreChecked_data() {
    QTest::addColumn<QString>("typed");  // over the whole box; empty: the box is cleared
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("not a number") << "x" << "练习组数必须为数字!" << "10";
    QTest::newRow("cleared") << "" << "练习组数必须为数字!" << "10";
    QTest::newRow("above 500") << "501" << "练习组数不要大于500组!" << "10";
    QTest::newRow("500") << "500" << "" << "500";
    QTest::newRow("1") << "1" << "" << "1";
}

void MainWindowTest::groupCountEditsAreChecked() {
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, shown);
    WindowFixture f;
    f.groupCount()->selectAll();
    if (typed.isEmpty()) QTest::keyClick(f.groupCount(), Qt::Key_Backspace);
    else QTest::keyClicks(f.groupCount(), typed);
    if (message.isEmpty()) {
        QVERIFY(f.messages.empty());
    } else {
        QCOMPARE(f.messages.size(), std::size_t(1));
        QCOMPARE(f.messages[0].text, message);
    }
    QCOMPARE(f.groupCount()->text(), shown);
    QCOMPARE(QString::fromStdString(f.form().Text2.text()), shown);
}

void MainWindowTest::groupCountMessageIsAModalInformationBox() {
    WindowFixture f(/*realMessageBoxes=*/true);
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool modal = false;
    int polls = 0;
    QTimer answer;
    connect(&answer, &QTimer::timeout, [&] {
        QWidget* top = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(top)) {
            text = box->text();
            icon = box->icon();
            modal = box->isModal();
            box->accept();
        } else if (top && ++polls > 500) {
            top->close();  // not what we wait for: never hang the suite
        }
    });
    answer.start(5);
    f.groupCount()->selectAll();
    QTest::keyClicks(f.groupCount(), "x");  // returns once the box is answered
    answer.stop();
    QCOMPARE(text, QStringLiteral("练习组数必须为数字!"));
    QCOMPARE(icon, QMessageBox::Information);
    QVERIFY(modal);
    QCOMPARE(f.groupCount()->text(), QStringLiteral("10"));
}

void MainWindowTest::practiceLocksTheModeSettings() {
    WindowFixture f;
    const char* locked[] = {"Option8", "Option9", "Option10", "Option11", "Command4"};
    const char* free[] = {"Option1", "Option6", "Option7(0)", "Check1", "Check6", "Slider1", "Slider2", "Text2",
                          "Command5"};
    start(f);
    for (const char* name : locked) QVERIFY2(!f.window().widget(name)->isEnabled(), name);
    for (const char* name : free) QVERIFY2(f.window().widget(name)->isEnabled(), name);
    QVERIFY(f.answerBox()->isEnabled());

    QTest::mouseClick(f.button("Command5"), Qt::LeftButton);
    for (const char* name : locked) QVERIFY2(f.window().widget(name)->isEnabled(), name);
    QVERIFY(!f.answerBox()->isEnabled());
}

void MainWindowTest::variationDisablesItsManualControl_data() {
    QTest::addColumn<QString>("variation");
    QTest::addColumn<QStringList>("overridden");
    QTest::addColumn<bool>("practising");
    const QStringList levels{"Option1", "Option2", "Option3", "Option4", "Option5", "Option6"};
    for (bool practising : {false, true}) {
        const char* when = practising ? " while practising" : " while idle";
        QTest::newRow(QByteArray("noise") + when) << "Check4" << levels << practising;
        QTest::newRow(QByteArray("speed") + when) << "Check5" << QStringList{"Slider1"} << practising;
        QTest::newRow(QByteArray("tone") + when) << "Check6" << QStringList{"Slider2"} << practising;
    }
}

void MainWindowTest::variationDisablesItsManualControl() {
    QFETCH(QString, variation);
    QFETCH(QStringList, overridden);
    QFETCH(bool, practising);
    WindowFixture f;
    if (practising) start(f);
    const QStringList all{"Option1", "Option2", "Option3", "Option4", "Option5", "Option6", "Slider1", "Slider2"};
    QCheckBox* box = f.check(variation.toStdString());
    box->click();  // as the mouse or the space bar would
    QVERIFY(box->isChecked());
    for (const QString& name : all)
        QCOMPARE(f.window().widget(name.toStdString())->isEnabled(), !overridden.contains(name));
    box->click();
    QVERIFY(!box->isChecked());
    for (const QString& name : all) QVERIFY(f.window().widget(name.toStdString())->isEnabled());
}

void MainWindowTest::sliderDragChangesTheSpeedWhenLetGo() {
    WindowFixture f;
    start(f);
    // While the reader waits for an answer nothing else re-applies the speed, so
    // only the slider's own change event can.
    QVERIFY(readFirstCallsign(f));
    QCOMPARE(f.form().Timer2.interval(), 5 * 120 + 500);
    QSlider* speed = f.slider("Slider1");
    speed->setSliderDown(true);
    speed->setSliderPosition(8);
    QCOMPARE(f.form().Slider1.value, 8);  // the value follows the thumb
    QCOMPARE(f.form().Timer2.interval(), 5 * 120 + 500);
    f.advance(50);
    QCOMPARE(speed->sliderPosition(), 8);
    speed->setSliderDown(false);
    QCOMPARE(f.form().Timer2.interval(), 8 * 120 + 500);
    // A key moves it at once.
    QTest::keyClick(speed, Qt::Key_Left);
    QCOMPARE(f.form().Slider1.value, 7);
    QCOMPARE(f.form().Timer2.interval(), 7 * 120 + 500);
}

void MainWindowTest::quitEndsWithoutTheUnloadStep() {
    WindowFixture f;
    start(f);
    f.window().quitAction()->trigger();
    QCOMPARE(f.quits, 1);
    f.window().close();
    QCOMPARE(f.operationsOf("qrn", "release"), 0);
    QVERIFY(f.form().qrnBuffer != nullptr);
}

void MainWindowTest::closingWhilePractisingUnloadsAndStopsEveryTimer() {
    std::vector<SoundOperation> operations;
    TracingSoundPlatform sound(nullptr, [&](const SoundOperation& op) { operations.push_back(op); });
    DesktopSession session(sound);  // timers on the Qt event loop
    session.load();
    session.input().click("Command4");
    session.window().syncFromModel();
    QtTimerClock& clock = *session.qtClock();
    QCOMPARE(clock.countdownMs(session.form().Timer2), 1100);
    QCOMPARE(clock.countdownMs(session.form().Timer12), 1000);

    session.window().show();
    session.window().close();
    QVERIFY(std::any_of(operations.begin(), operations.end(),
                        [](const SoundOperation& op) { return op.buffer == "qrn" && op.op == "release"; }));
    for (Timer* t : session.form().timers()) QCOMPARE(clock.countdownMs(*t), -1);
}

}  // namespace tessaly::qt::testing
