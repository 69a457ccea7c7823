#pragma once
// How a marked row shows its marks at a glance, drawn over the cells' own texts
// (which stay as the logic wrote them): in the answer, the characters written
// wrong or never read, red, bold and with a wavy underline; in the expected copy,
// the characters missed, bold and underlined; Y green and N red, both bold. The
// forms (weight, underline) tell them apart without the colours too.
#include "learning/answer_marks.h"

#include <QStyledItemDelegate>
#include <QTextLayout>

#include <functional>
#include <vector>

namespace tessaly::qt {

// The format ranges that mark characters of `text`: marks[i] for its i-th
// character (code point), in the string's UTF-16 positions.
QList<QTextLayout::FormatRange> markedRanges(const QString& text, const std::vector<bool>& marks,
                                             const QTextCharFormat& format);

// A text wider than `width` pixels in `font`, cut to end in an ellipsis ("…"), its
// marks kept on what is left of it; a text that fits, as it is.
QString elidedMarked(const QString& text, QList<QTextLayout::FormatRange>& ranges, const QFont& font, int width);

class MarkedCells final : public QStyledItemDelegate {
public:
    // The marks of a row (0-based), or null to draw it as usual.
    using MarksOf = std::function<const AnswerMarks*(int row)>;
    MarkedCells(MarksOf marksOf, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static QColor wrongColour() { return {190, 0, 0}; }
    static QColor missedColour() { return {0, 70, 170}; }
    static QColor rightColour() { return {0, 128, 0}; }

private:
    MarksOf marksOf_;
};

}  // namespace tessaly::qt
