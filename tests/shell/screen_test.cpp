// The window on any screen: it opens at its normal size when there is room and
// never larger than the screen, grows with the list taking the room, shrinks with
// the settings scrolled, and the other windows open beside it, within the screen. ctest runs this
// suite once more with QT_SCALE_FACTOR=2 on a 1280 x 900 screen.
#include "learning/learning_record.h"
#include "shell/qt/about_box.h"
#include "shell/qt/analysis_window.h"
#include "shell/qt/export_dialog.h"
#include "shell/qt/progress_window.h"
#include "support/record_folders.h"
#include "shell/qt/client_area.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace tessaly::qt::testing {
namespace {

using tessaly::testing::RecordFolders;

QRect onScreen(const QWidget* w) { return {w->mapToGlobal(QPoint()), w->size()}; }

void showAndSettle(QWidget& w) {
    w.show();
    QApplication::processEvents();  // the first paint's fit runs from the event loop
    QApplication::processEvents();
}

TEST(Screens, TheWindowOpensWhollyOnItsScreenAtItsNormalSizeWhenThereIsRoom) {
    WindowFixture f;
    MainWindow& w = f.window();
    if (QScreen* s = w.screen()) w.move(s->availableGeometry().center() - w.rect().center());  // as the program does
    showAndSettle(w);
    const QRect room = w.screen()->availableGeometry();
    EXPECT_TRUE(room.contains(w.frameGeometry())) << "frame " << w.frameGeometry().x() << "," << w.frameGeometry().y()
                                                   << " " << w.frameGeometry().width() << "x" << w.frameGeometry().height()
                                                   << " on " << room.width() << "x" << room.height();
    for (const QWidget* part : {static_cast<const QWidget*>(w.menuBar()), static_cast<const QWidget*>(f.answerBox()),
                                static_cast<const QWidget*>(f.button("Command4")), static_cast<const QWidget*>(f.button("Command5")),
                                static_cast<const QWidget*>(w.clockLabel())})
        EXPECT_TRUE(room.contains(onScreen(part))) << part->metaObject()->className();
    const QMargins frame(w.geometry().left() - w.frameGeometry().left(), w.geometry().top() - w.frameGeometry().top(),
                         w.frameGeometry().right() - w.geometry().right(), w.frameGeometry().bottom() - w.geometry().bottom());
    const QSize normal = ClientArea::normalSize() + QSize(0, w.menuBar()->height());
    // Run magnified on the small screen, the case that matters is the one checked.
    if (qEnvironmentVariableIsSet("TESSALY_SMALL_SCREEN")) {
        ASSERT_LT(room.height(), normal.height());
    }
    if (room.width() >= normal.width() + frame.left() + frame.right() &&
        room.height() >= normal.height() + frame.top() + frame.bottom())
        EXPECT_EQ(w.centralWidget()->size(), ClientArea::normalSize());
    else
        EXPECT_TRUE(w.centralWidget()->width() < ClientArea::normalSize().width() ||
                    w.centralWidget()->height() < ClientArea::normalSize().height());
    // What is there of the settings can be scrolled to.
    QScrollArea* settings = w.clientArea()->settingsScroll();
    if (settings->height() < settings->widget()->height()) {
        EXPECT_TRUE(settings->verticalScrollBar()->isVisible());
    }
}

TEST(Screens, LargerTheListTakesTheRoomAndTheSettingsKeepTheirLayout) {
    WindowFixture f;
    MainWindow& w = f.window();
    showAndSettle(w);
    ClientArea* client = w.clientArea();
    w.resize(w.size() + ClientArea::normalSize() - client->size());
    QApplication::processEvents();
    ASSERT_EQ(client->size(), ClientArea::normalSize());
    const QRect list = f.list()->geometry();
    auto fromRight = [&](QWidget* part) { return client->width() - part->mapTo(client, QPoint()).x(); };
    auto fromBottom = [&](QWidget* part) { return client->height() - part->mapTo(client, QPoint()).y(); };
    QWidget* settings = client->settingsScroll()->widget();
    const QSize settingsSize = settings->size();
    const int clockTop = w.clockLabel()->mapTo(client, QPoint()).y();
    const int optionRight = fromRight(f.option("Option4")), answerBottom = fromBottom(f.answerBox()),
              startRight = fromRight(f.button("Command4")), startBottom = fromBottom(f.button("Command4"));

    w.resize(w.size() + QSize(300, 200));
    QApplication::processEvents();
    EXPECT_EQ(f.list()->geometry(), list.adjusted(0, 0, 300, 200));
    EXPECT_EQ(settings->size(), settingsSize);
    EXPECT_EQ(fromRight(f.option("Option4")), optionRight);
    EXPECT_EQ(w.clockLabel()->mapTo(client, QPoint()).y(), clockTop);
    EXPECT_EQ(fromBottom(f.answerBox()), answerBottom) << "beside the list's bottom";
    EXPECT_EQ(fromRight(f.button("Command4")), startRight);
    EXPECT_EQ(fromBottom(f.button("Command4")), startBottom);
    EXPECT_FALSE(client->settingsScroll()->verticalScrollBar()->isVisible());
}

TEST(Screens, SmallerTheSettingsScrollAndTheAnswerBoxStays) {
    WindowFixture f;
    MainWindow& w = f.window();
    showAndSettle(w);
    ClientArea* client = w.clientArea();
    client->resize(client->minimumSizeHint());
    QApplication::processEvents();
    const QRect inside = client->rect();
    for (QWidget* part : {static_cast<QWidget*>(f.answerBox()), static_cast<QWidget*>(f.button("Command4")),
                          static_cast<QWidget*>(f.button("Command5")), static_cast<QWidget*>(w.clockLabel()),
                          static_cast<QWidget*>(f.list())})
        EXPECT_TRUE(inside.contains(QRect(part->mapTo(client, QPoint()), part->size()))) << part->metaObject()->className();
    QScrollArea* settings = client->settingsScroll();
    EXPECT_TRUE(settings->verticalScrollBar()->isVisible());
    EXPECT_LE(f.list()->geometry().right(), settings->geometry().left()) << "nothing overlaps";
    EXPECT_LE(settings->geometry().bottom(), f.button("Command4")->mapTo(client, QPoint()).y());
    // Tab to a setting below the fold scrolls it into view.
    f.option("Option11")->setFocus(Qt::TabFocusReason);
    settings->ensureWidgetVisible(f.option("Option11"));
    const QRect seen(settings->viewport()->mapToGlobal(QPoint()), settings->viewport()->size());
    EXPECT_TRUE(seen.contains(onScreen(f.option("Option11"))));
}

// Every other window stands wholly on the screen it opens on, no larger than what it
// shows; the ones that open beside the window do so where there is room, and
// otherwise leave its settings, 开始 and 停止 free while they keep a usable width.
TEST(Screens, EveryWindowFitsItsScreenBesideTheWindow) {
    RecordFolders folders;
    WindowFixture f;
    MainWindow& w = f.window();
    const QRect room = w.screen()->availableGeometry();
    if (QScreen* s = w.screen()) w.move(s->availableGeometry().center() - w.rect().center());
    showAndSettle(w);
    const auto about = [&]() -> QWidget* {
        w.aboutAction()->trigger();
        return f.session.host().aboutBox();
    };
    const auto recordOn = [&]() -> QWidget* {
        PracticeRecord p{f.form().review().keeper().today(), "08:30:00", "exam", "5", "S2", {}, {}};
        p.rows.push_back({1, "BA1AB", "BA1AB", true, "BA1AB"});
        std::string error;
        EXPECT_TRUE(LearningRecord(folders.record()).append(p, error)) << error;
        w.progressWindow()->close();
        f.session.input().setRecord(true);
        return w.showProgress();
    };
    const struct {
        const char* name;
        std::function<QWidget*()> open;
        bool beside;
        int mostHeight;  // logical px, client area
    } cases[] = {
        {"学习进度, the record off", [&] { return w.showProgress(); }, true, 200},
        {"学习进度, the record on", recordOn, true, 760},
        {"错误分析", [&] { return w.showAnalysis(); }, true, 460},
        {"关于", about, false, 260},
        {"导出成绩", [&] { return exportDialog(&w, QDir::tempPath()).release(); }, false, 10000},
    };
    for (const auto& c : cases) {
        QWidget* opened = c.open();
        ASSERT_TRUE(opened) << c.name;
        showAndSettle(*opened);
        const QRect main = w.frameGeometry(), other = opened->frameGeometry();
        EXPECT_TRUE(room.contains(other)) << c.name << ": " << other.width() << "x" << other.height() << "+" << other.x()
                                          << "+" << other.y() << " on " << room.width() << "x" << room.height();
        EXPECT_LE(opened->height(), c.mostHeight) << c.name;
        if (!c.beside) continue;
        const int controls = std::min({w.clientArea()->settingsScroll()->mapToGlobal(QPoint()).x(),
                                       f.button("Command4")->mapToGlobal(QPoint()).x(),
                                       f.button("Command5")->mapToGlobal(QPoint()).x()});
        if (room.width() >= main.width() + other.width() + 8) {
            EXPECT_FALSE(other.intersects(main)) << c.name << ": beside, not on top of it";
            EXPECT_EQ(other.top(), main.top()) << c.name;
        } else if (controls - room.left() >= 240 + 8 + other.width() - opened->width()) {
            EXPECT_LT(other.right(), controls) << c.name << ": over the list, not the controls";
        }
    }
}

}  // namespace
}  // namespace tessaly::qt::testing
