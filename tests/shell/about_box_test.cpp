#include "shell/qt/about_box.h"
#include "shell/qt/frame.h"
#include "shell/qt/loader_window.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace tessaly::qt::testing {

namespace {
QList<AboutBox*> openAboutBoxes() {
    QList<AboutBox*> open;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = dynamic_cast<AboutBox*>(w); box && box->isVisible()) open.push_back(box);
    return open;
}
void deleteClosedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

TEST(AboutBox, OpensOnceAndCloses) {
    WindowFixture f;
    f.window().aboutAction()->trigger();
    f.window().aboutAction()->trigger();  // brings the same box forward
    EXPECT_EQ(openAboutBoxes().size(), 1);
    ASSERT_FALSE(openAboutBoxes().isEmpty());
    AboutBox* box = openAboutBoxes().front();
    EXPECT_EQ(box->windowTitle(), QStringLiteral("关于Tessaly"));
    EXPECT_TRUE(!box->isModal());
    EXPECT_TRUE(!box->parentWidget());  // no owner: it may outlive the main window
    EXPECT_EQ(box->okButton()->text(), QStringLiteral("确定"));
    EXPECT_TRUE(box->okButton()->isDefault());

    QTest::mouseClick(box->okButton(), Qt::LeftButton);
    deleteClosedWindows();
    EXPECT_TRUE(openAboutBoxes().isEmpty());
    EXPECT_TRUE(!f.session.host().aboutBox());

    // It opens afresh, and Esc closes it too.
    f.window().aboutAction()->trigger();
    EXPECT_EQ(openAboutBoxes().size(), 1);
    QTest::keyClick(openAboutBoxes().front(), Qt::Key_Escape);
    deleteClosedWindows();
    EXPECT_TRUE(openAboutBoxes().isEmpty());
}

TEST(AboutBox, ClosesWithTheMainWindow) {
    WindowFixture f;
    f.window().show();
    f.window().aboutAction()->trigger();
    ASSERT_EQ(openAboutBoxes().size(), 1);
    f.window().close();
    deleteClosedWindows();
    EXPECT_TRUE(openAboutBoxes().isEmpty()) << "an About box left open would keep the program running";
}

TEST(AboutBox, ContactLinkOpensAMailToTheAddressOrIsNotThere) {
    const auto restore = AboutBox::urlOpener();
    for (const QString& address : {QStringLiteral("op@example.net"), QString()}) {
        QList<QUrl> opened;
        AboutBox::urlOpener() = [&](const QUrl& url) { opened.push_back(url); };
        AboutBox box(address);
        box.show();
        EXPECT_EQ(box.contactLabel()->isVisible(), !address.isEmpty());
        EXPECT_EQ(box.contactLabel()->text(), QStringLiteral("EMail: ") + address);
        EXPECT_TRUE(box.contactLabel()->font().underline());
        QTest::mouseClick(box.contactLabel(), Qt::LeftButton);
        EXPECT_EQ(opened, address.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(QStringLiteral("mailto:") + address)});
    }
    AboutBox::urlOpener() = restore;
}

TEST(LoaderWindow, ShowsItsNoticeWithoutAFrame) {
    LoaderWindow loader;
    EXPECT_TRUE(loader.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(loader.size(), QSize(209, 37));  // 3135 x 555 twips
    auto* notice = loader.findChild<QLabel*>();
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->text(), QStringLiteral("程序加载中,请稍等..."));
    EXPECT_TRUE(notice->geometry().bottom() < loader.height());
}

// With whatever faces this system has, no caption is cut off by its control.
TEST(Windows, EveryCaptionFitsItsControl) {
    WindowFixture f;
    AboutBox about;
    LoaderWindow loader;
    for (QWidget* top : {static_cast<QWidget*>(&f.window()), static_cast<QWidget*>(&about),
                         static_cast<QWidget*>(&loader)}) {
        for (QAbstractButton* button : top->findChildren<QAbstractButton*>()) {
            if (button->text().isEmpty()) continue;
            const bool push = qobject_cast<QPushButton*>(button) != nullptr;
            EXPECT_TRUE(push || button->sizeHint().width() <= button->width()) << qPrintable(button->text());
            EXPECT_TRUE(push || button->sizeHint().height() <= button->height()) << qPrintable(button->text());
        }
        for (QLabel* label : top->findChildren<QLabel*>()) {
            if (label->text().isEmpty() || label->wordWrap() || label->isHidden()) continue;
            EXPECT_TRUE(label->sizeHint().width() <= label->width()) << qPrintable(label->text());
            EXPECT_TRUE(label->sizeHint().height() <= label->height()) << qPrintable(label->text());
        }
    }
}

// A frame's border runs 2 px inside its bottom edge: a control drawn with a box of
// its own (an edit box) must not cross it.
TEST(Windows, EveryControlSitsInsideItsFrame) {
    WindowFixture f;
    for (QWidget* w : f.window().findChildren<QWidget*>()) {
        auto* frame = dynamic_cast<Frame*>(w);
        if (!frame) continue;
        for (QLineEdit* child : frame->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
            EXPECT_LT(child->geometry().bottom(), frame->height() - 2)
                << frame->accessibleName().toStdString() << " / " << child->metaObject()->className();
    }
}

}  // namespace
}  // namespace tessaly::qt::testing
