#include "shell/qt/marked_cells.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace tessaly::qt {

namespace {
constexpr int kAnswerColumn = 1, kExpectedColumn = 2, kMarkColumn = 3;

// On the selection's dark colour a light tint of each colour reads better.
QColor onSelection(const QColor& colour) { return QColor::fromHsv(colour.hue(), 70, 255); }

QTextCharFormat markFormat(QColor colour, QTextCharFormat::UnderlineStyle underline, bool selected) {
    if (selected) colour = onSelection(colour);
    QTextCharFormat f;
    f.setFontWeight(QFont::Bold);
    f.setFontUnderline(true);
    f.setUnderlineStyle(underline);
    f.setForeground(colour);
    f.setUnderlineColor(colour);
    return f;
}
}  // namespace

QList<QTextLayout::FormatRange> markedRanges(const QString& text, const std::vector<bool>& marks,
                                             const QTextCharFormat& format) {
    QList<QTextLayout::FormatRange> ranges;
    std::size_t character = 0;
    for (int at = 0; at < text.size(); ++character) {
        const int length = text.at(at).isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
        if (character < marks.size() && marks[character]) {
            if (!ranges.isEmpty() && ranges.back().start + ranges.back().length == at)
                ranges.back().length += length;
            else
                ranges.append({at, length, format});
        }
        at += length;
    }
    return ranges;
}

QString elidedMarked(const QString& text, QList<QTextLayout::FormatRange>& ranges, const QFont& font, int width) {
    // Measured in bold when any of it is marked (bold), so the cut is never too late.
    QFont measured(font);
    if (!ranges.isEmpty()) measured.setBold(true);
    const QString elided = QFontMetrics(measured).elidedText(text, Qt::ElideRight, width);
    if (elided == text) return text;
    const int kept = static_cast<int>(elided.size()) - 1;  // before the ellipsis
    QList<QTextLayout::FormatRange> left;
    for (QTextLayout::FormatRange r : ranges) {
        if (r.start >= kept) continue;
        r.length = std::min(r.length, kept - r.start);
        left.append(r);
    }
    ranges = left;
    return elided;
}

MarkedCells::MarkedCells(MarksOf marksOf, QObject* parent) : QStyledItemDelegate(parent), marksOf_(std::move(marksOf)) {}

void MarkedCells::paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const int column = index.column();
    const AnswerMarks* marks = column >= kAnswerColumn && marksOf_ ? marksOf_(index.row()) : nullptr;
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    if (!marks) {
        // A callsign too long for its cell ends in an ellipsis; the row numbers are
        // better cut than replaced by one.
        if (column >= kAnswerColumn) opt.textElideMode = Qt::ElideRight;
        style->drawControl(QStyle::CE_ItemViewItem, &opt, p, widget);
        return;
    }
    QString text = opt.text;
    opt.text.clear();
    // Background, selection and focus as the style draws them; the text on top.
    style->drawControl(QStyle::CE_ItemViewItem, &opt, p, widget);

    const bool selected = opt.state & QStyle::State_Selected;
    QList<QTextLayout::FormatRange> ranges;
    if (column == kAnswerColumn) {
        ranges = markedRanges(text, marks->wrongTyped, markFormat(wrongColour(), QTextCharFormat::WaveUnderline, selected));
    } else if (column == kExpectedColumn) {
        ranges = markedRanges(text, marks->missed, markFormat(missedColour(), QTextCharFormat::SingleUnderline, selected));
    } else if (column == kMarkColumn && !text.isEmpty()) {
        const QColor colour = text == QLatin1String("Y") ? rightColour() : wrongColour();
        QTextCharFormat f;
        f.setFontWeight(QFont::Bold);
        f.setForeground(selected ? onSelection(colour) : colour);
        ranges.append({0, static_cast<int>(text.size()), f});
    }

    QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    textRect.adjust(margin, 0, -margin, 0);
    text = elidedMarked(text, ranges, opt.font, textRect.width());
    QTextLayout layout(text, opt.font);
    layout.setFormats(ranges);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) line.setLineWidth(1e6);
    layout.endLayout();
    if (!line.isValid()) return;
    const qreal width = line.naturalTextWidth();
    qreal x = textRect.left();
    if (opt.displayAlignment & Qt::AlignHCenter) x += (textRect.width() - width) / 2;
    else if (opt.displayAlignment & Qt::AlignRight) x = textRect.right() + 1 - width;
    const qreal y = textRect.top() + (textRect.height() - line.height()) / 2;

    p->save();
    p->setClipRect(textRect);
    const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (opt.state & QStyle::State_Active)  ? QPalette::Active
                                                                              : QPalette::Inactive;
    p->setPen(opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    layout.draw(p, QPointF(x, y));
    p->restore();
}

}  // namespace tessaly::qt
