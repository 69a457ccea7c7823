#pragma once
// The error analysis of every practice marked since the program started: one row
// per character read, worst first, with a bar for its share of misses, what it
// was most often written as and how often it was left out. A small window of its
// own beside the main window, brought up to date as it is shown; Esc closes it.
#include "learning/error_analysis.h"
#include "shell/qt/unit_bars.h"

#include <QWidget>

#include <vector>

class QLabel;

namespace tessaly::qt {

class UnitBarsView;

class AnalysisWindow final : public QWidget {
public:
    explicit AnalysisWindow(const ErrorAnalysis& analysis, QWidget* owner = nullptr);
    // Reads the analysis again (after another marked practice).
    void refresh();
    const std::vector<UnitBar>& rows() const { return rows_; }
    QLabel* summary() const { return summary_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    const ErrorAnalysis& analysis_;
    std::vector<UnitBar> rows_;
    QLabel* summary_ = nullptr;
    UnitBarsView* bars_ = nullptr;
};

// The analysis's rows as bars (shared with the stats chart).
std::vector<UnitBar> unitBars(const ErrorAnalysis& analysis);
// What the window says above the bars.
QString analysisSummary(const ErrorAnalysis& analysis);

}  // namespace tessaly::qt
