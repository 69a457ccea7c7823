#pragma once
// Characters as rows of bars, worst first: what the analysis window shows and what
// `tessaly stats --png` draws. Each row: the character, how often it was read and
// missed, a bar as long as its share of misses, what it was most often written as
// and, where they are given, how often it was left out and its review box.
#include <QColor>
#include <QPainter>
#include <QRect>
#include <QString>

#include <vector>

namespace tessaly::qt {

struct UnitBar {
    QString unit;        // "V", "8", "/", "MOBILE"
    int read = 0, missed = 0;
    QString writtenAs;   // most often written as, or empty
    int omitted = -1;    // left out, of `missed`; -1: not shown
    QString review{};    // its review box and when it is due ("第2盒，5月12日复习"), or empty
};

// The height one row takes with `font`, in pixels.
int unitBarRowHeight(const QFont& font);
// Paints the rows into `area`, from its top, as many as fit.
void paintUnitBars(QPainter& painter, const QRect& area, const std::vector<UnitBar>& rows);

}  // namespace tessaly::qt
