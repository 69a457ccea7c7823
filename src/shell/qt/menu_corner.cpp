#include "shell/qt/menu_corner.h"

#include <QHBoxLayout>
#include <QLabel>

#include <algorithm>

namespace tessaly::qt {

MenuCorner::MenuCorner(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 8, 0);
    row->setSpacing(16);
    status_ = new QLabel(this);
    status_->setStyleSheet(QStringLiteral("color: #505050;"));
    status_->setVisible(false);
    row->addWidget(status_);
    noSound_ = new QLabel(QStringLiteral("无声音输出设备，声音恢复后自动继续"), this);
    noSound_->setToolTip(QStringLiteral("练习照常进行；声卡或声音服务可用后，声音会自动恢复"));
    noSound_->setStyleSheet(QStringLiteral("color: #a04000;"));
    noSound_->setVisible(false);
    row->addWidget(noSound_);
    setVisible(false);
}

QSize MenuCorner::sizeHint() const {
    const QSize natural = QWidget::sizeHint();
    return {natural.width(), std::min(natural.height(), mostHeight_)};
}

void MenuCorner::fitTheBarsHeight(const QWidget& bar) {
    const int natural = std::max(noSound_->sizeHint().height(), status_->sizeHint().height());
    mostHeight_ = 0;
    const int barAlone = bar.sizeHint().height();
    for (mostHeight_ = natural; mostHeight_ > 0 && bar.sizeHint().height() > barAlone; --mostHeight_) {
    }
}

void MenuCorner::showStatus(const QString& text) {
    if (status_->text() == text) return;
    status_->setText(text);
    status_->setVisible(!text.isEmpty());
    refit();
}

void MenuCorner::showNoSoundNotice(bool shown) {
    if (noSound_->isHidden() != shown) return;
    noSound_->setVisible(shown);
    refit();
}

void MenuCorner::refit() {
    const bool any = !status_->isHidden() || !noSound_->isHidden();
    const QSize wanted = any ? QWidget::sizeHint() : QSize();
    if (any == !isHidden() && wanted == laidOut_) return;
    laidOut_ = wanted;
    // The menu bar lays its corner out again when the corner is shown or hidden.
    setVisible(false);
    setVisible(any);
}

}  // namespace tessaly::qt
