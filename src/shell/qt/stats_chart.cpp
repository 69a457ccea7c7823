// `tessaly stats --png`: the stats report as a picture, drawn without a screen.
#include "learning/stats_report.h"
#include "base/output_file.h"
#include "shell/desktop.h"
#include "shell/qt/fonts.h"
#include "shell/qt/unit_bars.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <memory>

namespace tessaly {
namespace {

constexpr int kWidth = 800;
constexpr int kMargin = 24;
constexpr int kRateHeight = 220;   // px of the copy-rate plot
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
    const int barsTop = kMargin + titleHeight + kRateHeight + 40 + titleHeight;
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
               QStringLiteral("每次练习的听抄正确率 (%1 次练习, 共 %2/%3 个呼号, %4%)")
                   .arg(report.practices.size())
                   .arg(report.copied)
                   .arg(report.rows)
                   .arg(copied));
    p.drawText(QRect(kMargin, barsTop - titleHeight, kWidth - 2 * kMargin, titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("最常听错的字符 (错/读)"));
    p.setFont(font);
    drawCopyRates(p, QRect(kMargin + 36, kMargin + titleHeight + 8, kWidth - 2 * kMargin - 48, kRateHeight), report.practices);
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
