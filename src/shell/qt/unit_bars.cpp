#include "shell/qt/unit_bars.h"

#include <QFontMetrics>
#include <QStringList>

#include <algorithm>

namespace tessaly::qt {

namespace {
// Misses shaded from amber (a few) to red (most): the worst stand out at a glance.
QColor barColour(double share) {
    const int red = 200 + static_cast<int>(40 * share);
    const int green = static_cast<int>(170 * (1.0 - share));
    return QColor(red, green, 40);
}
}  // namespace

int unitBarRowHeight(const QFont& font) { return QFontMetrics(font).height() + 8; }

void paintUnitBars(QPainter& p, const QRect& area, const std::vector<UnitBar>& rows) {
    const QFontMetrics m(p.font());
    const int rowHeight = unitBarRowHeight(p.font());
    const int unitWidth = m.horizontalAdvance(QStringLiteral("MOBILE")) + 12;
    const int countWidth = m.horizontalAdvance(QStringLiteral("999/999")) + 12;
    const bool leftOut = std::any_of(rows.begin(), rows.end(), [](const UnitBar& r) { return r.omitted >= 0; });
    const int writtenWidth = m.horizontalAdvance(leftOut ? QStringLiteral("写成 MOBILE，漏 999") : QStringLiteral("写成 MOBILE")) + 8;
    const bool reviewed = std::any_of(rows.begin(), rows.end(), [](const UnitBar& r) { return !r.review.isEmpty(); });
    const int reviewWidth = reviewed ? m.horizontalAdvance(QStringLiteral("第5盒，12月31日复习")) + 8 : 0;
    const int barLeft = area.left() + unitWidth + countWidth;
    const int barWidth = std::max(40, area.width() - unitWidth - countWidth - writtenWidth - reviewWidth);
    int y = area.top();
    for (const UnitBar& row : rows) {
        if (y + rowHeight > area.bottom() + 1) break;
        const QRect line(area.left(), y, area.width(), rowHeight);
        const double share = row.read > 0 ? static_cast<double>(row.missed) / row.read : 0.0;
        p.setPen(Qt::black);
        p.drawText(QRect(line.left() + 4, y, unitWidth - 4, rowHeight), Qt::AlignVCenter | Qt::AlignLeft, row.unit);
        p.setPen(QColor(90, 90, 90));
        p.drawText(QRect(line.left() + unitWidth, y, countWidth - 8, rowHeight), Qt::AlignVCenter | Qt::AlignRight,
                   QStringLiteral("%1/%2").arg(row.missed).arg(row.read));
        const QRect track(barLeft, y + 4, barWidth, rowHeight - 8);
        p.fillRect(track, QColor(235, 235, 235));
        const int filled = static_cast<int>(track.width() * share + 0.5);
        p.fillRect(QRect(track.left(), track.top(), filled, track.height()), barColour(share));
        // The figure in white on the bar when it fits there, else in black just after it.
        const QString figure = QStringLiteral("%1%").arg(static_cast<int>(share * 100 + 0.5));
        const bool inside = filled >= m.horizontalAdvance(figure) + 8;
        p.setPen(inside ? Qt::white : Qt::black);
        p.drawText(track.adjusted(inside ? 4 : filled + 4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, figure);
        QStringList notes;
        if (!row.writtenAs.isEmpty()) notes << QStringLiteral("写成 ") + row.writtenAs;
        if (row.omitted > 0) notes << QStringLiteral("漏 %1").arg(row.omitted);
        if (!notes.isEmpty()) {
            p.setPen(QColor(90, 90, 90));
            p.drawText(QRect(barLeft + barWidth + 8, y, writtenWidth, rowHeight), Qt::AlignVCenter | Qt::AlignLeft,
                       notes.join(QStringLiteral("，")));
        }
        if (!row.review.isEmpty()) {
            p.setPen(QColor(30, 100, 190));
            p.drawText(QRect(barLeft + barWidth + 8 + writtenWidth, y, reviewWidth, rowHeight),
                       Qt::AlignVCenter | Qt::AlignLeft, row.review);
        }
        y += rowHeight;
    }
}

}  // namespace tessaly::qt
