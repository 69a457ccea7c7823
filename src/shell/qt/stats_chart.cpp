// `tessaly stats --png`: the stats report as a picture, drawn without a screen: the
// copy rate of each practice, the thresholds over time (when there are threshold
// runs) and the characters missed most.
#include "learning/stats_report.h"
#include "base/output_file.h"
#include "shell/desktop.h"
#include "shell/qt/fonts.h"
#include "shell/qt/unit_bars.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <memory>

namespace tessaly {
namespace {

constexpr int kWidth = 800;
constexpr int kMargin = 24;
constexpr int kRateHeight = 220;   // px of the copy-rate plot
constexpr int kThresholdHeight = 180;  // px of the threshold plot, when there are threshold runs
constexpr std::size_t kMostUnits = 20;  // characters shown, worst first

void drawCopyRates(QPainter& p, const QRect& area, const std::vector<PracticeSummary>& practices) {
    p.setPen(QColor(200, 200, 200));
    for (int percent = 0; percent <= 100; percent += 25) {
        const int y = area.bottom() - area.height() * percent / 100;
        p.drawLine(area.left(), y, area.right(), y);
        p.setPen(QColor(110, 110, 110));
        p.drawText(QRect(area.left() - kMargin - 8, y - 8, kMargin + 4, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(percent));
        p.setPen(QColor(200, 200, 200));
    }
    if (practices.empty()) return;
    const auto x = [&](std::size_t i) {
        return practices.size() == 1 ? area.center().x()
                                     : area.left() + static_cast<int>(area.width() * i / (practices.size() - 1));
    };
    const auto y = [&](double rate) { return area.bottom() - static_cast<int>(area.height() * rate); };
    QPainterPath line;
    for (std::size_t i = 0; i < practices.size(); ++i) {
        const QPointF at(x(i), y(practices[i].copyRate));
        if (i == 0) line.moveTo(at);
        else line.lineTo(at);
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 100, 190), 2));
    p.drawPath(line);
    p.setBrush(QColor(30, 100, 190));
    for (std::size_t i = 0; i < practices.size(); ++i) p.drawEllipse(QPointF(x(i), y(practices[i].copyRate)), 3.5, 3.5);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(110, 110, 110));
    // The first practice's date under the left end, the last one's under the right end.
    const auto when = [&](std::size_t i) { return QString::fromStdString(practices[i].date + " " + practices[i].time.substr(0, 5)); };
    const QRect under(area.left(), area.bottom() + 8, area.width(), 16);
    p.drawText(under, (practices.size() == 1 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop, when(0));
    if (practices.size() > 1) p.drawText(under, Qt::AlignRight | Qt::AlignTop, when(practices.size() - 1));
}

// The thresholds over time, each with its standard error as a bar; lower is better.
void drawThresholds(QPainter& p, const QRect& area, const std::vector<ThresholdSummary>& runs) {
    double lo = runs.front().snrDb - runs.front().se, hi = runs.front().snrDb + runs.front().se;
    for (const ThresholdSummary& t : runs) lo = std::min(lo, t.snrDb - t.se), hi = std::max(hi, t.snrDb + t.se);
    // Whole multiples of 5 dB around the values, at least 10 dB apart.
    lo = std::floor(lo / 5) * 5, hi = std::ceil(hi / 5) * 5;
    if (hi - lo < 10) hi = lo + 10;
    const auto y = [&](double db) { return area.bottom() - area.height() * (db - lo) / (hi - lo); };
    const auto x = [&](std::size_t i) {
        return runs.size() == 1 ? area.center().x() : area.left() + area.width() * static_cast<double>(i) / static_cast<double>(runs.size() - 1);
    };
    for (double db = lo; db <= hi + 0.01; db += 5) {
        p.setPen(QColor(200, 200, 200));
        p.drawLine(QPointF(area.left(), y(db)), QPointF(area.right(), y(db)));
        p.setPen(QColor(110, 110, 110));
        p.drawText(QRectF(area.left() - kMargin - 12, y(db) - 8, kMargin + 8, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(db));
    }
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colour(190, 80, 30);
    p.setPen(QPen(colour, 1));
    for (std::size_t i = 0; i < runs.size(); ++i)
        p.drawLine(QPointF(x(i), y(runs[i].snrDb - runs[i].se)), QPointF(x(i), y(runs[i].snrDb + runs[i].se)));
    QPainterPath line;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const QPointF at(x(i), y(runs[i].snrDb));
        if (i == 0) line.moveTo(at);
        else line.lineTo(at);
    }
    p.setPen(QPen(colour, 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(line);
    p.setBrush(colour);
    for (std::size_t i = 0; i < runs.size(); ++i) p.drawEllipse(QPointF(x(i), y(runs[i].snrDb)), 3.5, 3.5);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(110, 110, 110));
    const auto when = [&](std::size_t i) { return QString::fromStdString(runs[i].date + " " + runs[i].time.substr(0, 5)); };
    const QRect under(area.left(), area.bottom() + 8, area.width(), 16);
    p.drawText(under, (runs.size() == 1 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop, when(0));
    if (runs.size() > 1) p.drawText(under, Qt::AlignRight | Qt::AlignTop, when(runs.size() - 1));
}

}  // namespace

bool drawStatsChart(const StatsReport& report, const std::string& path, std::string& error) {
    // Painting text needs a GUI application; without a screen it paints offscreen.
    std::unique_ptr<QGuiApplication> app;
    static int argc = 3;
    static char arg0[] = "tessaly", arg1[] = "-platform", arg2[] = "offscreen";
    static char* argv[] = {arg0, arg1, arg2, nullptr};
    if (!QCoreApplication::instance()) app = std::make_unique<QGuiApplication>(argc, argv);

    std::vector<qt::UnitBar> bars;
    for (const UnitSummary& u : report.units) {
        if (bars.size() == kMostUnits) break;
        bars.push_back({QString::fromStdString(u.unit), u.read, u.missed, QString::fromStdString(u.mostWrittenAs)});
    }
    QFont font = qt::arialFont(10);
    const int titleHeight = 28;
    const int thresholdsTop = kMargin + titleHeight + kRateHeight + 40;  // its title's top
    const int thresholdsHeight = report.thresholds.empty() ? 0 : titleHeight + kThresholdHeight + 40;
    const int barsTop = thresholdsTop + thresholdsHeight + titleHeight;
    const int height = barsTop + static_cast<int>(bars.size()) * qt::unitBarRowHeight(font) + kMargin;
    QImage image(kWidth, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font);
    QFont heading = qt::uiFont();
    heading.setPointSizeF(12);
    heading.setBold(true);
    p.setFont(heading);
    p.setPen(Qt::black);
    const int copied = report.rows > 0 ? (100 * report.copied + report.rows / 2) / report.rows : 0;
    p.drawText(QRect(kMargin, kMargin, kWidth - 2 * kMargin, titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("每次练习的听抄正确率（%1 次练习，共 %2/%3 个呼号，%4%）")
                   .arg(report.practices.size())
                   .arg(report.copied)
                   .arg(report.rows)
                   .arg(copied));
    if (!report.thresholds.empty())
        p.drawText(QRect(kMargin, thresholdsTop, kWidth - 2 * kMargin, titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("阈值测试：抄对一半呼号时的信噪比（dB，越低越好，竖线为 ±标准误）"));
    p.drawText(QRect(kMargin, barsTop - titleHeight, kWidth - 2 * kMargin, titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("最常听错的字符（错/读）"));
    p.setFont(font);
    drawCopyRates(p, QRect(kMargin + 36, kMargin + titleHeight + 8, kWidth - 2 * kMargin - 48, kRateHeight), report.practices);
    if (!report.thresholds.empty())
        drawThresholds(p, QRect(kMargin + 36, thresholdsTop + titleHeight + 8, kWidth - 2 * kMargin - 48, kThresholdHeight),
                       report.thresholds);
    qt::paintUnitBars(p, QRect(kMargin, barsTop, kWidth - 2 * kMargin, height - barsTop - kMargin), bars);
    p.end();

    auto file = OutputFile::create(path, error);
    if (!file) return false;
    if (!image.save(QString::fromStdString(file->temporaryPath()), "PNG")) {
        error = "the picture could not be written";
        return false;
    }
    return file->commit(error);
}

}  // namespace tessaly
