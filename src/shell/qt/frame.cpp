#include "shell/qt/frame.h"

#include <QFontInfo>
#include <QPainter>

namespace tessaly::qt {

namespace {
constexpr int kCaptionLeft = 7;  // px from the frame's left edge
}

Frame::Frame(const QString& caption, QWidget* parent) : QWidget(parent), caption_(caption) {
    setAccessibleName(caption);
}

void Frame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // Chinese captions have no descenders or accents: their ink spans about the
    // top 0.9 em above the baseline, so with the baseline 0.9 em down the caption
    // fills the top em of the frame, and the border runs through its middle.
    const int em = QFontInfo(font()).pixelSize();
    const int baseline = (em * 9 + 5) / 10;
    const int lineY = em / 2;
    const QRect box(0, lineY, width() - 2, height() - lineY - 2);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(box);
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(box.translated(1, 1));
    if (caption_.isEmpty()) return;
    const int textWidth = fontMetrics().horizontalAdvance(caption_);
    p.fillRect(QRect(kCaptionLeft - 2, 0, textWidth + 4, em + 2), palette().window());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(kCaptionLeft, baseline, caption_);
}

}  // namespace tessaly::qt
