// The window without a mouse: keys go where a real keyboard sends them, to the
// widget with the focus, in a window that is active.
#include "shell/qt/analysis_window.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace tessaly::qt::testing {
namespace {

// The window shown and active: window shortcuts and focus need it.
void showActive(WindowFixture& f) {
    f.window().show();
    QApplication::setActiveWindow(&f.window());
    QApplication::processEvents();
}

void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus) << "no widget has the focus";
    QTest::keyClick(focus, static_cast<Qt::Key>(key), mods);
}

// Tab until `target` has the focus; false when a whole round never reaches it.
bool tabTo(QWidget* target) {
    for (int i = 0; i < 60 && QApplication::focusWidget() != target; ++i) press(Qt::Key_Tab);
    return QApplication::focusWidget() == target;
}

struct ShownMenu {
    QStringList items;      // texts; "" for a separator
    QList<bool> enabled;
    QPoint at;
    int shown = 0;
    QAction* action(const QString& text, QMenu& menu) const {
        for (QAction* a : menu.actions())
            if (a->text() == text) return a;
        return nullptr;
    }
};

// Context menus are recorded, and `choose` (if any) is triggered, instead of
// waiting in the menu's own loop.
void recordMenus(WindowFixture& f, ShownMenu& shown, const QString& choose = {}) {
    f.window().popUpMenu = [&shown, choose](QMenu& menu, const QPoint& at) {
        shown = {};
        shown.shown = 1;
        shown.at = at;
        for (QAction* a : menu.actions()) {
            shown.items << a->text();
            shown.enabled << a->isEnabled();
        }
        if (QAction* a = shown.action(choose, menu); a && a->isEnabled()) a->trigger();
    };
}

TEST(Keyboard, EnterOrSpacePressesTheFocusedButton) {
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        WindowFixture f;
        showActive(f);
        f.button("Command4")->setFocus();
        press(key);
        EXPECT_TRUE(f.form().practice().practising()) << "开始, key " << key;
        f.button("Command5")->setFocus();
        press(key);
        EXPECT_FALSE(f.form().practice().practising()) << "停止, key " << key;
        EXPECT_EQ(f.form().controls().ListView1.rows[0][3], "N") << "stopped and marked";
    }
}

TEST(Keyboard, StartAndStopKeysWorkFromTheAnswerBoxAndNoCallsignKeyTriggersThem) {
    WindowFixture f;
    showActive(f);
    EXPECT_EQ(f.window().startAction()->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(f.window().stopAction()->shortcut(), QKeySequence(Qt::Key_F6));
    f.list()->setFocus();
    press(Qt::Key_F5);
    ASSERT_TRUE(f.form().practice().practising());
    f.advance(10);  // the focus goes to the answer box
    ASSERT_EQ(QApplication::focusWidget(), f.answerBox());

    // Every key a callsign is typed with, and Enter and Backspace, only types.
    const QString keys = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/");
    for (QChar c : keys) {
        press(c.unicode());
        ASSERT_TRUE(f.form().practice().practising()) << c.toLatin1();
    }
    EXPECT_EQ(f.answerBox()->text(), keys);
    press(Qt::Key_Backspace);
    press(Qt::Key_Return);
    EXPECT_TRUE(f.form().practice().practising());
    EXPECT_EQ(f.form().controls().ListView1.rows[0][1], keys.chopped(1).toStdString());

    press(Qt::Key_F5);  // 开始 is disabled while a practice runs
    EXPECT_EQ(f.form().controls().ListView1.rows[0][1], keys.chopped(1).toStdString());
    press(Qt::Key_F6);
    EXPECT_FALSE(f.form().practice().practising());
    EXPECT_EQ(f.form().controls().ListView1.rows[0][3], "N");
}

// A whole practice, a replay and the analysis, with the keyboard alone.
TEST(Keyboard, AWholePracticeReplayAndAnalysisWithoutAMouse) {
    WindowFixture f;
    showActive(f);
    ShownMenu menu;
    recordMenus(f, menu, QStringLiteral("错误分析"));

    ASSERT_TRUE(tabTo(f.groupCount()));
    press(Qt::Key_A, Qt::ControlModifier);
    press(Qt::Key_2);
    ASSERT_EQ(f.form().controls().Text2.text(), "2");
    press(Qt::Key_F5);
    for (int answered = 0; answered < 2;) {
        f.advance(100);
        if (!f.form().reader().waitingForAnswer()) continue;
        for (char c : std::string("ab1c")) press(QChar(c).toUpper().unicode());
        press(Qt::Key_Return);
        ++answered;
    }
    f.advance(100);
    ASSERT_FALSE(f.form().practice().practising());
    ASSERT_EQ(f.form().controls().ListView1.rows[1][3], "N");

    // To the list, and a row read again with Enter, then with Space.
    ASSERT_TRUE(tabTo(f.list()));
    press(Qt::Key_Home);
    press(Qt::Key_Down);
    EXPECT_EQ(f.list()->currentRowNumber(), 2);
    for (int key : {Qt::Key_Return, Qt::Key_Space}) {
        const int clips = f.operationsOf("clip", "create");
        press(key);
        f.advance(20'000);
        EXPECT_EQ(f.operationsOf("clip", "create") - clips,
                  static_cast<int>(f.form().review().lastRecord().rows[1].line.size()))
            << "row 2, key " << key;
    }

    // The Menu key opens the row's menu, 重听 enabled; 错误分析 from it, Esc closes that.
    press(Qt::Key_Menu);
    ASSERT_EQ(menu.shown, 1);
    ASSERT_GE(menu.items.size(), 4);
    EXPECT_EQ(menu.items[0], QStringLiteral("重听"));
    EXPECT_TRUE(menu.enabled[0]) << "a keyboard user can replay the row";
    AnalysisWindow* analysis = f.window().analysisWindow();
    ASSERT_TRUE(analysis && analysis->isVisible());
    QApplication::setActiveWindow(analysis);
    QTest::keyClick(analysis, Qt::Key_Escape);
    EXPECT_FALSE(analysis->isVisible());
}

TEST(Keyboard, MenuKeyAndShiftF10OpenTheCurrentRowsMenuWhereverThePointerIs) {
    WindowFixture f;
    showActive(f);
    f.form().controls().Text2.setText("3");
    f.window().syncFromModel();
    f.button("Command4")->click();
    f.button("Command5")->click();
    ShownMenu menu;
    recordMenus(f, menu, QStringLiteral("重听"));
    f.list()->setFocus();
    f.list()->setCurrentItem(f.list()->topLevelItem(2));
    const QRect row3(f.list()->viewport()->mapToGlobal(f.list()->visualItemRect(f.list()->topLevelItem(2)).topLeft()),
                     f.list()->visualItemRect(f.list()->topLevelItem(2)).size());
    struct Key {
        int key;
        Qt::KeyboardModifiers mods;
    };
    for (const Key k : {Key{Qt::Key_Menu, Qt::NoModifier}, Key{Qt::Key_F10, Qt::ShiftModifier}}) {
        menu = {};
        const int clips = f.operationsOf("clip", "create");
        press(k.key, k.mods);
        ASSERT_EQ(menu.shown, 1) << k.key;
        EXPECT_TRUE(menu.enabled[0]) << "重听, key " << k.key;
        EXPECT_GE(menu.at.y(), row3.top()) << "beside the row";
        EXPECT_LE(menu.at.y(), row3.bottom() + 1);
        f.advance(20'000);
        EXPECT_EQ(f.operationsOf("clip", "create") - clips,
                  static_cast<int>(f.form().review().lastRecord().rows[2].line.size()))
            << "row 3 read again, key " << k.key;
    }
    // A keyboard context event (as the window system sends for the Menu key) does the same.
    menu = {};
    QContextMenuEvent fromKeyboard(QContextMenuEvent::Keyboard, QPoint(1, 1), f.list()->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(f.list(), &fromKeyboard);
    ASSERT_EQ(menu.shown, 1);
    EXPECT_TRUE(menu.enabled[0]);
}

TEST(Keyboard, TheListShowsWhenItHasTheFocus) {
    WindowFixture f;
    showActive(f);
    const QColor highlight = f.list()->palette().color(QPalette::Active, QPalette::Highlight);
    const QPoint edge(0, f.list()->height() / 2);
    f.button("Command4")->setFocus();
    const QImage without = f.list()->grab().toImage();
    f.list()->setFocus();
    ASSERT_TRUE(f.list()->hasFocus());
    const QImage with = f.list()->grab().toImage();
    EXPECT_NE(QColor(without.pixel(edge)), highlight);
    EXPECT_EQ(QColor(with.pixel(edge)), highlight);
}

}  // namespace
}  // namespace tessaly::qt::testing
