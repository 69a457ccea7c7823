// The window on any screen: it opens at its normal size when there is room and
// never larger than the screen, grows with the list taking the room, shrinks with
// the settings scrolled, and the error analysis opens beside it. ctest runs this
// suite once more with QT_SCALE_FACTOR=2 on a 1280 x 900 screen.
#include "shell/qt/analysis_window.h"
#include "shell/qt/client_area.h"
#include "window_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace tessaly::qt::testing {
namespace {

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

TEST(Screens, TheErrorAnalysisOpensBesideTheWindow) {
    WindowFixture f;
    MainWindow& w = f.window();
    const QRect room = w.screen()->availableGeometry();
    showAndSettle(w);
    // Narrow enough that there is room beside it, at the screen's left.
    w.resize(w.minimumSizeHint());
    w.move(room.topLeft());
    QApplication::processEvents();
    AnalysisWindow* analysis = w.showAnalysis();
    QApplication::processEvents();
    const QRect main = w.frameGeometry(), beside = analysis->frameGeometry();
    EXPECT_TRUE(room.contains(beside));
    if (room.width() >= main.width() + beside.width() + 8) {
        EXPECT_FALSE(beside.intersects(main)) << "beside, not on top of it";
        EXPECT_GT(beside.left(), main.right());
        EXPECT_EQ(beside.top(), main.top());
    }
    EXPECT_NE(beside.topLeft(), QPoint(0, 0));
}

}  // namespace
}  // namespace tessaly::qt::testing
