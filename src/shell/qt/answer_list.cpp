#include "shell/qt/answer_list.h"

#include "shell/qt/fonts.h"
#include "shell/qt/marked_cells.h"
#include "shell/qt/twips.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QToolTip>

namespace tessaly::qt {

namespace {
// The number column is wider than the classic 350 twips so that rows 10 to 500 show
// their whole number; the two callsign columns give up the difference.
constexpr int kColumnTwips[4] = {600, 1975, 1975, 400};
constexpr int kMarkColumn = 3;
}  // namespace

AnswerList::AnswerList(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(4);
    setHeaderLabels({"", "", "", ""});
    headerItem()->setTextAlignment(kMarkColumn, Qt::AlignCenter);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    // The number column is narrower (23 px) than the style's smallest section.
    header()->setMinimumSectionSize(8);
    for (int c = 0; c < 4; ++c) setColumnWidth(c, twips(kColumnTwips[c]));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Row numbers from 10 on are wider than their 23 px column: better cut than
    // replaced by an ellipsis that leaves nothing of them.
    setTextElideMode(Qt::ElideNone);
    setFont(arialFont(15.75));
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
        if (onRowDoubleClicked) onRowDoubleClicked(indexOfTopLevelItem(item) + 1);
    });
    setItemDelegate(new MarkedCells([this](int row) { return marksOf(row + 1); }, this));
}

int AnswerList::currentRowNumber() const {
    QTreeWidgetItem* item = currentItem();
    return item ? indexOfTopLevelItem(item) + 1 : 0;
}

void AnswerList::contextMenuEvent(QContextMenuEvent* event) {
    // From the keyboard the menu is for the current row, wherever the pointer rests.
    if (event->reason() == QContextMenuEvent::Keyboard) {
        openContextMenuForCurrentRow();
        return;
    }
    QTreeWidgetItem* item = itemAt(viewport()->mapFromGlobal(event->globalPos()));
    if (onContextMenu) onContextMenu(item ? indexOfTopLevelItem(item) + 1 : 0, event->globalPos());
}

void AnswerList::openContextMenuForCurrentRow() {
    if (!onContextMenu) return;
    const int row = currentRowNumber();
    QPoint at = viewport()->rect().topLeft();
    if (row > 0) {
        scrollToItem(currentItem());
        const QRect cell = visualItemRect(currentItem());
        at = QPoint(cell.left() + columnWidth(0), cell.bottom());
    }
    onContextMenu(row, viewport()->mapToGlobal(at));
}

void AnswerList::keyPressEvent(QKeyEvent* event) {
    const auto mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Menu || (event->key() == Qt::Key_F10 && mods == Qt::ShiftModifier)) {
        openContextMenuForCurrentRow();
        return;
    }
    const bool activates = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space;
    if (activates && mods == Qt::NoModifier && currentRowNumber() > 0) {
        if (onRowActivated) onRowActivated(currentRowNumber());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

// The frame is drawn in the selection's colour while the list has the focus.
void AnswerList::focusInEvent(QFocusEvent* event) {
    QTreeWidget::focusInEvent(event);
    update();
}

void AnswerList::focusOutEvent(QFocusEvent* event) {
    QTreeWidget::focusOutEvent(event);
    update();
}

bool AnswerList::event(QEvent* event) {
    const bool done = QTreeWidget::event(event);
    if (event->type() == QEvent::Paint && hasFocus()) {
        QPainter p(this);
        p.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
    return done;
}

void AnswerList::showMarks(std::vector<std::optional<AnswerMarks>> marks, bool shown) {
    if (marks_.empty() && marks.empty() && marksShown_ == shown) return;
    marks_ = std::move(marks);
    marksShown_ = shown;
    viewport()->update();
}

const AnswerMarks* AnswerList::marksOf(int row) const {
    if (!marksShown_ || row < 1 || static_cast<std::size_t>(row) > marks_.size()) return nullptr;
    const auto& marks = marks_[static_cast<std::size_t>(row - 1)];
    return marks ? &*marks : nullptr;
}

void AnswerList::showRows(const std::vector<Row>& rows) {
    if (rows == shown_) return;
    setUpdatesEnabled(false);
    // Rows came or went: the selection is shown afresh.
    if (rows.size() != shown_.size()) selected_ = -1;
    while (topLevelItemCount() > static_cast<int>(rows.size())) delete takeTopLevelItem(topLevelItemCount() - 1);
    shown_.resize(std::min(shown_.size(), rows.size()));
    while (topLevelItemCount() < static_cast<int>(rows.size())) {
        auto* item = new QTreeWidgetItem(this);
        item->setTextAlignment(kMarkColumn, Qt::AlignCenter);
        shown_.push_back({});
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        QTreeWidgetItem* item = topLevelItem(static_cast<int>(r));
        for (int c = 0; c < 4; ++c) {
            const auto& cell = rows[r][static_cast<std::size_t>(c)];
            if (cell != shown_[r][static_cast<std::size_t>(c)]) item->setText(c, QString::fromStdString(cell));
        }
        shown_[r] = rows[r];
    }
    setUpdatesEnabled(true);
}

void AnswerList::showSelectedRow(int row) {
    if (row == selected_) return;
    selected_ = row;
    QTreeWidgetItem* item = row >= 1 && row <= topLevelItemCount() ? topLevelItem(row - 1) : nullptr;
    if (!item) {
        clearSelection();
        return;
    }
    setCurrentItem(item);
    item->setSelected(true);
    scrollToItem(item);
}

bool AnswerList::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::MouseMove && onMouseMove) onMouseMove();
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (toolTip().isEmpty()) QToolTip::hideText();
        else QToolTip::showText(help->globalPos(), toolTip(), viewport());
        return true;
    }
    return QTreeWidget::viewportEvent(event);
}

}  // namespace tessaly::qt
