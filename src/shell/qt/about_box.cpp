#include "shell/qt/about_box.h"

#include "tessaly_version.h"

#include "shell/qt/app_icon.h"
#include "shell/qt/fonts.h"
#include "shell/qt/twips.h"

#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

#ifndef TESSALY_CONTACT_ADDRESS
#define TESSALY_CONTACT_ADDRESS ""
#endif

namespace tessaly::qt {

namespace {

const char* kNote =
    "编写这个小程序，是为了让准备参加三级业余无线电台操作证书考试、"
    "却在呼号听抄上感到吃力的朋友多一些练习的机会。"
    "五个月来，它在大家不断提出的意见和建议中一点点成长起来。"
    "在此感谢所有出主意、为呼号朗读录音以及给予各种帮助的朋友们！";

// A label a little short for its text in the fallback face grows to fit: in
// height about its centre, in width to the right.
void fit(QWidget* w, QRect r) {
    const QSize hint = w->sizeHint();
    if (hint.height() > r.height()) r.adjust(0, -(hint.height() - r.height()) / 2, 0, (hint.height() - r.height() + 1) / 2);
    if (hint.width() > r.width()) r.setWidth(hint.width());
    w->setGeometry(r);
}

void blackText(QWidget* w) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, Qt::black);
    w->setPalette(p);
}

}  // namespace

QString AboutBox::contactAddress() { return QStringLiteral(TESSALY_CONTACT_ADDRESS); }

std::function<void(const QUrl&)>& AboutBox::urlOpener() {
    static std::function<void(const QUrl&)> opener = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    return opener;
}

AboutBox::AboutBox(const QString& address) : QDialog(nullptr), address_(address) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8("关于Tessaly"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(false);
    setFont(uiFont());
    setFixedSize(twips(4695), twips(3765));

    auto* picture = new QLabel(this);
    picture->setPixmap(appPicture(47, 44, devicePixelRatioF()));
    // The picture box takes the size of its 47 x 44 picture.
    picture->setGeometry(twips(240), twips(120), 47, 44);

    auto* title = new QLabel(QStringLiteral("Tessaly V" TESSALY_VERSION), this);
    title->setFont(songFont(12, true));
    blackText(title);
    fit(title, twipsRect(1440, 360, 2565, 240));

    auto* note = new QLabel(QString::fromUtf8(kNote), this);
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    blackText(note);
    note->setGeometry(twipsRect(240, 960, 4245, 2250));

    // An etched separator: a grey line with a white one under it.
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(twips(100), twips(3270), twips(4560) - twips(100), 2);

    contact_ = new QLabel(QStringLiteral("EMail: ") + address_, this);
    contact_->setVisible(!address_.isEmpty());
    QFont contactFont = songFont(9);
    contactFont.setUnderline(true);
    contact_->setFont(contactFont);
    contact_->setCursor(Qt::PointingHandCursor);
    contact_->installEventFilter(this);
    fit(contact_, twipsRect(360, 3435, 1815, 255));

    ok_ = new QPushButton(QString::fromUtf8("确定"), this);
    ok_->setGeometry(twipsRect(2880, 3360, 1500, 345));
    ok_->setDefault(true);  // Enter; Esc rejects, which closes the box too
    connect(ok_, &QPushButton::clicked, this, &QWidget::close);

    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == contact_ && !address_.isEmpty() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        urlOpener()(QUrl(QStringLiteral("mailto:") + address_));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tessaly::qt
