#include "shell/qt/analysis_window.h"

#include "shell/qt/fonts.h"

#include <algorithm>

#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tessaly::qt {

class UnitBarsView final : public QWidget {
public:
    explicit UnitBarsView(QWidget* parent) : QWidget(parent) {}
    void show(std::vector<UnitBar> rows) {
        rows_ = std::move(rows);
        setMinimumHeight(static_cast<int>(rows_.size()) * unitBarRowHeight(font()) + 2);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        paintUnitBars(p, rect(), rows_);
    }

private:
    std::vector<UnitBar> rows_;
};

QString reviewText(const ReviewBox& box, const std::string& today) {
    const QString when = box.dueOn(today) ? QStringLiteral("该复习了")
                                          : QStringLiteral("%1月%2日复习")
                                                .arg(QString::fromStdString(box.due.substr(5, 2)).toInt())
                                                .arg(QString::fromStdString(box.due.substr(8, 2)).toInt());
    return QStringLiteral("第%1盒，").arg(box.box) + when;
}

std::vector<UnitBar> unitBars(const ErrorAnalysis& analysis, const std::vector<ReviewBox>* boxes, const std::string& today) {
    std::vector<UnitBar> bars;
    for (const UnitErrors& u : analysis.rows()) {
        const auto [token, count] = u.mostWrittenAs();
        bars.push_back({QString::fromStdString(u.unit), u.read, u.missed, count > 0 ? QString::fromStdString(token) : QString(),
                        u.omitted});
        if (const ReviewBox* box = boxes ? boxOf(*boxes, u.unit) : nullptr) bars.back().review = reviewText(*box, today);
    }
    return bars;
}

AnalysisWindow::AnalysisWindow(const ErrorAnalysis& analysis, QWidget* owner, const LearningKeeper* keeper)
    : QWidget(owner, Qt::Tool), analysis_(analysis), keeper_(keeper) {
    setWindowTitle(QStringLiteral("错误分析"));
    setFont(uiFont());
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(this);
    summary_ = new QLabel(this);
    summary_->setWordWrap(true);
    layout->addWidget(summary_);
    auto* scroll = new QScrollArea(this);
    bars_ = new UnitBarsView(scroll);
    bars_->setFont(arialFont(11));
    scroll->setWidget(bars_);
    scroll->setWidgetResizable(true);
    layout->addWidget(scroll);
    refresh();
    resize(sizeHint());
}

// Room for the review column beside the bars while the record is on.
QSize AnalysisWindow::sizeHint() const { return {keeper_ && keeper_->on() ? 600 : 420, 460}; }

void AnalysisWindow::refresh() {
    const bool record = keeper_ && keeper_->on();
    rows_ = record ? unitBars(analysis_, &keeper_->boxes(), keeper_->today()) : unitBars(analysis_);
    summary_->setText(analysisSummary(analysis_, record));
    bars_->show(rows_);
    if (record && width() < sizeHint().width() && screen())
        resize(std::min(sizeHint().width(), screen()->availableGeometry().width()), height());
}

void AnalysisWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

QString analysisSummary(const ErrorAnalysis& analysis, bool wholeRecord) {
    if (analysis.practices() == 0) return QStringLiteral("还没有判过分的练习。练习结束后，这里会显示每个字符的错误率。");
    if (wholeRecord) {
        return analysisSummary(analysis) +
               QStringLiteral("\n学习记录已打开：这里统计学习记录里的全部练习，这次的练习记进记录后才算在内。“第几盒”是复习盒（1 到 5）：听错了回到第 1 盒，"
                              "某天读过至少两次都没错就升一盒；第 1 到 5 盒分别隔 1、2、4、8、16 天复习。"
                              "侧重弱项先练到了复习日、又听错过的字符。");
    }
    QString text = QStringLiteral("已分析 %1 次练习：每个字符错了几次、读了几次，错得最多的在最上面；"
                                  "“写成”是最常写成的字符，“漏”是漏写的次数。")
                       .arg(analysis.practices());
    const auto weakest = analysis.weakest(3, 2);
    const auto rows = analysis.rows();
    const bool missed = std::any_of(rows.begin(), rows.end(), [](const UnitErrors& u) { return u.missed > 0; });
    text += QStringLiteral("\n最需要练习（读过至少两次、错得最多的字符）：");
    if (!weakest.empty()) {
        QStringList names;
        for (const std::string& w : weakest) names << QString::fromStdString(w);
        text += names.join(QStringLiteral(" "));
    } else {
        text += missed ? QStringLiteral("还看不出来，错过的字符都只读过一次") : QStringLiteral("没有，还没有听错过");
    }
    return text;
}

}  // namespace tessaly::qt
