#include "shell/qt/app_icon.h"

#include <QPainter>
#include <QSvgRenderer>

namespace tessaly::qt {

namespace {
const char* kIconPath = ":/tessaly/tessaly.svg";
}

QPixmap appPicture(int width, int height, qreal devicePixelRatio) {
    QSvgRenderer renderer{QString::fromLatin1(kIconPath)};
    QPixmap pixmap(qRound(width * devicePixelRatio), qRound(height * devicePixelRatio));
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // Keep the drawing's proportions inside a box that is not square.
    QSizeF size = renderer.defaultSize();
    size.scale(pixmap.size(), Qt::KeepAspectRatio);
    const QRectF target((pixmap.width() - size.width()) / 2, (pixmap.height() - size.height()) / 2, size.width(),
                        size.height());
    renderer.render(&painter, target);
    painter.end();
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QIcon appIcon() {
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(appPicture(side, side, 1.0));
    return icon;
}

}  // namespace tessaly::qt
