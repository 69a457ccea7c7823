#include "shell/qt/client_area.h"

#include "shell/qt/twips.h"

#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace tessaly::qt {

namespace {
constexpr int kClientWidthTwips = 9375;
constexpr int kClientHeightTwips = 7890;
// The list keeps its number and mark columns and a few characters of each callsign.
constexpr int kListMinimumWidth = 160;       // px
constexpr int kSettingsMinimumHeight = 60;   // px: a few settings, and the scroll bar's arrows
}  // namespace

QSize ClientArea::normalSize() { return {twips(kClientWidthTwips), twips(kClientHeightTwips)}; }

ClientArea::ClientArea(QWidget* parent) : QWidget(parent) {}

void ClientArea::setList(QWidget* list) {
    list_ = list;
    listAt_ = list->geometry();
}

void ClientArea::addColumnTop(QWidget* part) { top_.emplace_back(part, part->geometry()); }

void ClientArea::addColumnBottom(QWidget* part) { bottom_.emplace_back(part, part->geometry()); }

void ClientArea::setSettings(QWidget* settings) {
    settingsAt_ = settings->geometry();
    // Made only now, after the parts above it, so that Tab still goes through the
    // settings between the clock and the buttons.
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll_->setWidgetResizable(false);
    scroll_->setAutoFillBackground(false);
    scroll_->viewport()->setAutoFillBackground(false);
    scroll_->setWidget(settings);
    // The frame draws on the window's background, as it did without the scroll area.
    settings->setAutoFillBackground(false);
    settings->move(0, 0);
    scroll_->setGeometry(settingsAt_);
}

int ClientArea::scrollBarWidth() const {
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_ ? scroll_->verticalScrollBar() : nullptr);
}

QSize ClientArea::minimumSizeHint() const {
    const QSize normal = normalSize();
    return {normal.width() - listAt_.width() + kListMinimumWidth + scrollBarWidth(),
            normal.height() - std::max(0, settingsAt_.height() - kSettingsMinimumHeight)};
}

void ClientArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    place();
}

void ClientArea::place() {
    if (!list_ || !scroll_) return;
    const QSize normal = normalSize();
    const int dx = width() - normal.width();
    const int dy = height() - normal.height();
    const int settingsHeight = std::max(kSettingsMinimumHeight, settingsAt_.height() + std::min(dy, 0));
    const bool scrolls = settingsHeight < settingsAt_.height();
    // The column keeps its right margin; a scroll bar beside the settings takes room from the list.
    const int across = dx - (scrolls ? scrollBarWidth() : 0);
    const int down = dy >= 0 ? dy : settingsHeight - settingsAt_.height();
    list_->setGeometry(listAt_.adjusted(0, 0, std::max(across, kListMinimumWidth - listAt_.width()), dy));
    for (auto& [part, at] : top_) part->setGeometry(at.translated(across, 0));
    scroll_->setGeometry(settingsAt_.x() + across, settingsAt_.y(),
                         settingsAt_.width() + (scrolls ? scrollBarWidth() : 0), settingsHeight);
    for (auto& [part, at] : bottom_) part->setGeometry(at.translated(across, down));
}

}  // namespace tessaly::qt
