#pragma once
// 学习进度: progress over days, from the learning record. The copy rate of each day
// and the threshold of each threshold run as charts, the days practised and the
// time spent, and each character's miss rate over the last 7 days against the 7
// before them. With the record off it says in one line how to turn it on. A window
// of its own beside the main window, read again as it is shown; Esc closes it.
#include "review/learning_keeper.h"

#include <QWidget>

class QChartView;
class QLabel;
class QLineSeries;
class QTableWidget;

namespace tessaly::qt {

class ProgressWindow final : public QWidget {
public:
    explicit ProgressWindow(const LearningKeeper& keeper, QWidget* owner = nullptr);
    // Shows the record as the keeper last read it.
    void refresh();
    // The charts and table when there is a record to show; else its one paragraph.
    QSize sizeHint() const override;

    // What it shows, for the tests.
    QLabel* summary() const { return summary_; }
    QLineSeries* copyRates() const { return copyRates_; }      // x: ms since the epoch, y: percent
    QLineSeries* thresholds() const { return thresholds_; }    // x: ms since the epoch, y: dB
    QChartView* copyRateChart() const { return rateView_; }
    QChartView* thresholdChart() const { return thresholdView_; }
    QLabel* thresholdNote() const { return thresholdNote_; }
    QTableWidget* trends() const { return trends_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    const LearningKeeper& keeper_;
    QLabel* summary_ = nullptr;
    QChartView* rateView_ = nullptr;
    QLineSeries* copyRates_ = nullptr;
    QChartView* thresholdView_ = nullptr;
    QLineSeries* thresholds_ = nullptr;
    QLabel* thresholdNote_ = nullptr;
    QLabel* trendsTitle_ = nullptr;
    QTableWidget* trends_ = nullptr;
    bool shown_ = false;  // the charts and table are shown
};

// What the window says first: the days, the time, the callsigns and how many were copied.
QString progressSummary(const LearningKeeper& keeper);
// The one line shown while the record is off.
QString recordOffNote();

}  // namespace tessaly::qt
