#include "shell/qt/progress_window.h"

#include "learning/review_boxes.h"
#include "learning/stats_report.h"
#include "learning/unit_trends.h"
#include "shell/qt/fonts.h"

#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QLineSeries>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace tessaly::qt {

namespace {

constexpr int kTrendDays = 7;
constexpr qint64 kHalfDayMs = 12 * 3600 * 1000;

QString qs(const std::string& s) { return QString::fromStdString(s); }

QDateTime when(const std::string& date, const std::string& time = "12:00:00") {
    return QDateTime(QDate::fromString(qs(date), QStringLiteral("yyyy-MM-dd")),
                     QTime::fromString(qs(time), QStringLiteral("HH:mm:ss")));
}

QString duration(int seconds) {
    const int minutes = (seconds + 30) / 60;
    if (minutes < 60) return QStringLiteral("%1 分钟").arg(minutes);
    return QStringLiteral("%1 小时 %2 分钟").arg(minutes / 60).arg(minutes % 60);
}

QString percent(double share) { return QStringLiteral("%1%").arg(static_cast<int>(std::lround(share * 100))); }

QString monthDay(const std::string& date) {
    return QStringLiteral("%1月%2日").arg(qs(date.substr(5, 2)).toInt()).arg(qs(date.substr(8, 2)).toInt());
}

// A chart of one line with its points, dates along the bottom.
QChartView* lineChart(QWidget* parent, const QString& title, QLineSeries*& series) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(uiFont());
    chart->legend()->hide();
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(0);
    series = new QLineSeries(chart);
    series->setPointsVisible(true);
    series->setPen(QPen(QColor(30, 100, 190), 2));
    chart->addSeries(series);
    auto* dates = new QDateTimeAxis(chart);
    dates->setFormat(QStringLiteral("M月d日"));
    dates->setLabelsFont(uiFont());
    auto* values = new QValueAxis(chart);
    values->setLabelFormat(QStringLiteral("%.0f"));
    values->setLabelsFont(uiFont());
    chart->addAxis(dates, Qt::AlignBottom);
    chart->addAxis(values, Qt::AlignLeft);
    series->attachAxis(dates);
    series->attachAxis(values);
    auto* view = new QChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(200);
    return view;
}

// The dates' axis over the points, half a day beyond each end.
void fitDates(QLineSeries* series) {
    const auto points = series->points();
    auto* axis = static_cast<QDateTimeAxis*>(series->attachedAxes().front());
    if (points.isEmpty()) return;
    const auto [low, high] = std::minmax_element(points.begin(), points.end(),
                                                 [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
    axis->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(low->x()) - kHalfDayMs),
                   QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(high->x()) + kHalfDayMs));
    // A tick a day up to a week, then about one a week.
    const qint64 days = (static_cast<qint64>(high->x()) - static_cast<qint64>(low->x())) / (2 * kHalfDayMs) + 1;
    axis->setTickCount(static_cast<int>(std::clamp<qint64>(days + 1, 2, 8)));
}

QTableWidgetItem* cell(const QString& text, Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(align);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

// A path in the home folder as "~/...", as the README names the places.
QString shortPath(const QString& path) {
    const QString home = QDir::homePath();
    return home.size() > 1 && path.startsWith(home + QLatin1Char('/')) ? QLatin1Char('~') + path.mid(home.size()) : path;
}

QString missText(const UnitErrors& u) {
    if (u.read == 0) return QStringLiteral("—");
    return QStringLiteral("%1/%2（%3）").arg(u.missed).arg(u.read).arg(percent(u.missedShare()));
}

}  // namespace

QString recordOffNote() {
    return QStringLiteral("学习记录没有打开：在“学习”菜单里勾选“保存学习记录”，之后判过分的练习都会记下来，这里就会显示进度。");
}

QString progressSummary(const LearningKeeper& keeper) {
    if (!keeper.on()) return recordOffNote();
    const QString where = QStringLiteral("\n记录保存在 %1。").arg(shortPath(qs(keeper.recordPath())));
    if (keeper.digest().practices() == 0)
        return QStringLiteral("学习记录已打开，还没有记下练习：每次练习判分后，这里会显示每天的正确率和阈值。") + where;
    const StatsReport report = keeper.digest().report(keeper.today());
    const std::string weekStart = addDays(keeper.today(), 1 - kTrendDays);
    const auto recentDays = std::count_if(report.days.begin(), report.days.end(),
                                          [&](const DaySummary& d) { return d.date >= weekStart; });
    QString text = QStringLiteral("练习了 %1 天，共 %2 次练习，用时 %3；听抄 %4 个呼号，正确 %5 个（%6）。最近 7 天练习了 %7 天。")
                       .arg(report.days.size())
                       .arg(report.practices.size())
                       .arg(duration(report.seconds))
                       .arg(report.rows)
                       .arg(report.copied)
                       .arg(percent(report.rows == 0 ? 0.0 : static_cast<double>(report.copied) / report.rows))
                       .arg(recentDays);
    return text + where;
}

ProgressWindow::ProgressWindow(const LearningKeeper& keeper, QWidget* owner)
    : QWidget(owner, Qt::Tool), keeper_(keeper) {
    setWindowTitle(QStringLiteral("学习进度"));
    setFont(uiFont());
    setAttribute(Qt::WA_DeleteOnClose, false);
    // Everything in one scrolled column: on a small or magnified screen the window
    // is smaller than its charts and table, never larger than the screen.
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* column = new QWidget(scroll);
    auto* layout = new QVBoxLayout(column);
    scroll->setWidget(column);
    outer->addWidget(scroll);
    summary_ = new QLabel(this);
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(summary_);
    rateView_ = lineChart(this, QStringLiteral("每天的正确率（%）"), copyRates_);
    layout->addWidget(rateView_, 3);
    thresholdView_ = lineChart(this, QStringLiteral("每次阈值测试的阈值（dB，越低越好）"), thresholds_);
    layout->addWidget(thresholdView_, 2);
    thresholdNote_ = new QLabel(QStringLiteral("还没有阈值测试：在“学习”菜单里勾选“阈值测试”再开始练习，这里就会画出每次的阈值。"), this);
    thresholdNote_->setWordWrap(true);
    layout->addWidget(thresholdNote_);
    trendsTitle_ = new QLabel(this);
    trendsTitle_->setWordWrap(true);
    layout->addWidget(trendsTitle_);
    trends_ = new QTableWidget(0, 4, this);
    trends_->setHorizontalHeaderLabels(
        {QStringLiteral("字符"), QStringLiteral("最近 7 天"), QStringLiteral("之前 7 天"), QStringLiteral("变化")});
    trends_->verticalHeader()->hide();
    trends_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    trends_->setSelectionMode(QAbstractItemView::NoSelection);
    trends_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(trends_, 3);
    layout->addStretch(0);
    refresh();
    resize(sizeHint());
}

QSize ProgressWindow::sizeHint() const {
    if (shown_) return {560, 760};
    // One paragraph: as tall as it is at this width.
    constexpr int kWidth = 420;
    const QMargins m = summary_->parentWidget()->layout()->contentsMargins();
    return {kWidth, summary_->heightForWidth(kWidth - m.left() - m.right()) + m.top() + m.bottom()};
}

void ProgressWindow::refresh() {
    summary_->setText(progressSummary(keeper_));
    const bool shown = keeper_.on() && keeper_.digest().practices() > 0;
    if (shown != shown_) {
        shown_ = shown;
        // Open, it takes the size of what it shows now, within its screen.
        if (isVisible() && screen()) resize(sizeHint().boundedTo(screen()->availableGeometry().size()));
    }
    for (QWidget* w : {static_cast<QWidget*>(rateView_), static_cast<QWidget*>(thresholdView_),
                       static_cast<QWidget*>(thresholdNote_), static_cast<QWidget*>(trendsTitle_),
                       static_cast<QWidget*>(trends_)})
        w->setVisible(shown);
    copyRates_->clear();
    thresholds_->clear();
    trends_->setRowCount(0);
    if (!shown) return;

    const StatsReport report = keeper_.digest().report(keeper_.today());
    for (const DaySummary& day : report.days)
        copyRates_->append(static_cast<double>(when(day.date).toMSecsSinceEpoch()), day.copyRate * 100);
    fitDates(copyRates_);
    static_cast<QValueAxis*>(copyRates_->attachedAxes().back())->setRange(0, 100);

    // Only the runs of the latest run's method and conditions: others do not compare.
    double low = 0, high = 0;
    int elsewhere = 0;
    for (const ThresholdSummary& t : report.thresholds) {
        if (t.conditions != report.thresholds.back().conditions) {
            ++elsewhere;
            continue;
        }
        thresholds_->append(static_cast<double>(when(t.date, t.time).toMSecsSinceEpoch()), t.snrDb);
        low = thresholds_->count() == 1 ? t.snrDb : std::min(low, t.snrDb);
        high = thresholds_->count() == 1 ? t.snrDb : std::max(high, t.snrDb);
    }
    thresholdView_->setVisible(!report.thresholds.empty());
    thresholdNote_->setVisible(report.thresholds.empty());
    if (!report.thresholds.empty()) {
        const ThresholdConditions& shown = report.thresholds.back().conditions;
        QString title = shown.method == "characters" ? QStringLiteral("每次阈值测试的字符阈值（dB，越低越好）：")
                                                     : QStringLiteral("每次阈值测试的整个呼号阈值（旧的测法，dB，越低越好）：");
        title += QString::fromStdString(conditionsText(shown));
        if (elsewhere > 0) title += QStringLiteral("；条件不同的 %1 次不在图中").arg(elsewhere);
        thresholdView_->chart()->setTitle(title);
        fitDates(thresholds_);
        // Whole dB around the points, at least 4 dB high.
        const double middle = (low + high) / 2, half = std::max(2.0, (high - low) / 2 + 1);
        auto* db = static_cast<QValueAxis*>(thresholds_->attachedAxes().back());
        db->setRange(std::floor(middle - half), std::ceil(middle + half));
        db->applyNiceNumbers();  // ticks on whole, round dB
    }

    const std::string today = keeper_.today();
    trendsTitle_->setText(QStringLiteral("每个字符的错误率（错几次/读几次）：最近 7 天（%1到今天）与之前 7 天；错得最多的在最上面。")
                              .arg(monthDay(addDays(today, 1 - kTrendDays))));
    const auto trends = unitTrends(keeper_.digest(), today, kTrendDays);
    trends_->setRowCount(static_cast<int>(trends.size()));
    for (int row = 0; row < static_cast<int>(trends.size()); ++row) {
        const UnitTrend& t = trends[static_cast<std::size_t>(row)];
        trends_->setItem(row, 0, cell(qs(t.unit()), Qt::AlignLeft | Qt::AlignVCenter));
        trends_->setItem(row, 1, cell(missText(t.recent)));
        trends_->setItem(row, 2, cell(missText(t.earlier)));
        QString change;
        QColor colour(90, 90, 90);
        if (t.recent.read > 0 && t.earlier.read > 0) {
            const long points = std::lround((t.recent.missedShare() - t.earlier.missedShare()) * 100);
            if (points < 0) change = QStringLiteral("好转 %1 个百分点").arg(-points), colour = QColor(20, 130, 60);
            else if (points > 0) change = QStringLiteral("变差 %1 个百分点").arg(points), colour = QColor(200, 40, 40);
            else change = QStringLiteral("持平");
        }
        QTableWidgetItem* item = cell(change);
        item->setForeground(colour);
        trends_->setItem(row, 3, item);
    }
}

void ProgressWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tessaly::qt
