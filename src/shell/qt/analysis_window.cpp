#include "shell/qt/analysis_window.h"

#include "shell/qt/fonts.h"

#include <QLabel>
#include <QPaintEvent>
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

std::vector<UnitBar> unitBars(const ErrorAnalysis& analysis) {
    std::vector<UnitBar> bars;
    for (const UnitErrors& u : analysis.rows()) {
        const auto [token, count] = u.mostWrittenAs();
        bars.push_back({QString::fromStdString(u.unit), u.read, u.missed, count > 0 ? QString::fromStdString(token) : QString()});
    }
    return bars;
}

AnalysisWindow::AnalysisWindow(const ErrorAnalysis& analysis, QWidget* owner)
    : QWidget(owner, Qt::Tool), analysis_(analysis) {
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
    resize(420, 460);
    refresh();
}

void AnalysisWindow::refresh() {
    rows_ = unitBars(analysis_);
    const auto weakest = analysis_.weakest();
    QString text = QStringLiteral("已分析 %1 次练习:每个字符读了几次、错了几次,错得最多的在最上面。").arg(analysis_.practices());
    if (analysis_.practices() == 0) text = QStringLiteral("还没有判过分的练习。练习结束后这里会显示每个字符的错误率。");
    if (!weakest.empty()) {
        QStringList names;
        for (const std::string& w : weakest) names << QString::fromStdString(w);
        text += QStringLiteral("\n最需要练习:") + names.join(QStringLiteral(" "));
    }
    summary_->setText(text);
    bars_->show(rows_);
}

}  // namespace tessaly::qt
