#include "about_box_test.h"

#include "shell/qt/about_box.h"
#include "shell/qt/loader_window.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>

namespace tessaly::qt::testing {

namespace {
QList<AboutBox*> openAboutBoxes() {
    QList<AboutBox*> open;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = dynamic_cast<AboutBox*>(w); box && box->isVisible()) open.push_back(box);
    return open;
}
void deleteClosedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
}  // namespace

void AboutBoxTest::opensOnceAndCloses() {
    WindowFixture f;
    f.window().aboutAction()->trigger();
    f.window().aboutAction()->trigger();  // brings the same box forward
    QCOMPARE(openAboutBoxes().size(), 1);
    AboutBox* box = openAboutBoxes().front();
    QCOMPARE(box->windowTitle(), QStringLiteral("关于Tessaly"));
    QVERIFY(!box->isModal());
    QVERIFY(!box->parentWidget());  // no owner: it may outlive the main window
    QCOMPARE(box->okButton()->text(), QStringLiteral("确定"));
    QVERIFY(box->okButton()->isDefault());

    QTest::mouseClick(box->okButton(), Qt::LeftButton);
    deleteClosedWindows();
    QVERIFY(openAboutBoxes().isEmpty());
    QVERIFY(!f.session.host().aboutBox());

    // It opens afresh, and Esc closes it too.
    f.window().aboutAction()->trigger();
    QCOMPARE(openAboutBoxes().size(), 1);
    QTest::keyClick(openAboutBoxes().front(), Qt::Key_Escape);
    deleteClosedWindows();
    QVERIFY(openAboutBoxes().isEmpty());
}

void AboutBoxTest::contactLinkOpensAMailToTheAddress() {
    QList<QUrl> opened;
    const auto restore = AboutBox::urlOpener();
    AboutBox::urlOpener() = [&](const QUrl& url) { opened.push_back(url); };
    {
        AboutBox box;
        QVERIFY(!AboutBox::contactAddress().isEmpty());
        QCOMPARE(box.contactLabel()->text(), QStringLiteral("EMail: ") + AboutBox::contactAddress());
        QVERIFY(box.contactLabel()->font().underline());
        QCOMPARE(box.contactLabel()->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(box.contactLabel(), Qt::LeftButton);
    }
    AboutBox::urlOpener() = restore;
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.front(), QUrl(QStringLiteral("mailto:") + AboutBox::contactAddress()));
}

void AboutBoxTest::loaderShowsItsNoticeWithoutAFrame() {
    LoaderWindow loader;
    QVERIFY(loader.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(loader.size(), QSize(209, 37));  // 3135 x 555 twips
    auto* notice = loader.findChild<QLabel*>();
    QVERIFY(notice);
    QCOMPARE(notice->text(), QStringLiteral("程序加载中,请稍等..."));
    QVERIFY(notice->geometry().bottom() < loader.height());
}

// With whatever faces this system has, no caption is cut off by its control.
void AboutBoxTest::everyCaptionFitsItsControl() {
    WindowFixture f;
    AboutBox about;
    LoaderWindow loader;
    for (QWidget* top : {static_cast<QWidget*>(&f.window()), static_cast<QWidget*>(&about),
                         static_cast<QWidget*>(&loader)}) {
        for (QAbstractButton* button : top->findChildren<QAbstractButton*>()) {
            if (button->text().isEmpty()) continue;
            QVERIFY2(button->sizeHint().width() <= button->width() || qobject_cast<QPushButton*>(button),
                     qPrintable(button->text()));
            QVERIFY2(button->sizeHint().height() <= button->height() || qobject_cast<QPushButton*>(button),
                     qPrintable(button->text()));
        }
        for (QLabel* label : top->findChildren<QLabel*>()) {
            if (label->text().isEmpty() || label->wordWrap()) continue;
            QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(label->text()));
            QVERIFY2(label->sizeHint().height() <= label->height(), qPrintable(label->text()));
        }
    }
}

}  // namespace tessaly::qt::testing
