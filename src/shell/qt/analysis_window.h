#pragma once
// The error analysis of every practice marked since the program started (with the
// learning record on, of the whole record): one row per character read, worst
// first, with a bar for its share of misses, what it was most often written as,
// how often it was left out and, with the record on, its review box and when it is
// due. A small window of its own beside the main window, brought up to date as it
// is shown; Esc closes it.
#include "learning/error_analysis.h"
#include "learning/review_boxes.h"
#include "review/learning_keeper.h"
#include "shell/qt/unit_bars.h"

#include <QWidget>

#include <vector>

class QLabel;

namespace tessaly::qt {

class UnitBarsView;

class AnalysisWindow final : public QWidget {
public:
    // `keeper`, when given, adds the review boxes while the record is on.
    explicit AnalysisWindow(const ErrorAnalysis& analysis, QWidget* owner = nullptr,
                            const LearningKeeper* keeper = nullptr);
    // Reads the analysis again (after another marked practice).
    void refresh();
    // Wider while the record is on: its review column stands beside the bars.
    QSize sizeHint() const override;
    const std::vector<UnitBar>& rows() const { return rows_; }
    QLabel* summary() const { return summary_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    const ErrorAnalysis& analysis_;
    const LearningKeeper* keeper_;
    std::vector<UnitBar> rows_;
    QLabel* summary_ = nullptr;
    UnitBarsView* bars_ = nullptr;
};

// The analysis's rows as bars (shared with the stats chart); with `boxes`, each
// row's review box and when it is due, as of `today` ("YYYY-MM-DD").
std::vector<UnitBar> unitBars(const ErrorAnalysis& analysis, const std::vector<ReviewBox>* boxes = nullptr,
                              const std::string& today = "");
// "第2盒，5月12日复习"; "第1盒，该复习了" once the day has come.
QString reviewText(const ReviewBox& box, const std::string& today);
// What the window says above the bars; `wholeRecord` when it is the learning record's.
QString analysisSummary(const ErrorAnalysis& analysis, bool wholeRecord = false);

}  // namespace tessaly::qt
