#include "shell/qt/loader_window.h"

#include "shell/qt/fonts.h"
#include "shell/qt/twips.h"

#include <QLabel>
#include <QScreen>

namespace tessaly::qt {

LoaderWindow::LoaderWindow() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    // A splash window has no frame, no taskbar entry, and does not count as the
    // program's last window when it closes.
    setFixedSize(twips(3135), twips(555));
    auto* notice = new QLabel(QString::fromUtf8("程序加载中,请稍等..."), this);
    notice->setFont(kaiFont(15));
    QRect r = twipsRect(120, 120, 3135, 375);
    // The fallback face stands taller than the notice's 25 px: give it the room below.
    r.setHeight(std::max(r.height(), std::min(notice->sizeHint().height(), height() - r.top())));
    notice->setGeometry(r);
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

void LoaderWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (painted_) return;
    painted_ = true;
    if (onFirstPaint) onFirstPaint();
}

}  // namespace tessaly::qt
