#include "shell/qt/main_window.h"

#include "shell/qt/analysis_window.h"
#include "shell/qt/answer_box.h"
#include "shell/qt/answer_list.h"
#include "tessaly_version.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QDateTime>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>

namespace tessaly::qt {

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }

void setEnabledIfChanged(QWidget* w, bool enabled) {
    if (w->isEnabled() != enabled) w->setEnabled(enabled);
}
void setToolTipIfChanged(QWidget* w, const std::string& tip) {
    const QString t = qs(tip);
    if (w->toolTip() != t) w->setToolTip(t);
}
}  // namespace

MainWindow::MainWindow(MainForm& form, UserInput& input) : form_(form), input_(input) {
    setWindowTitle(QStringLiteral("Tessaly V" TESSALY_VERSION "  BY Orvane"));
    // Fixed single border: minimise and close, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    buildLayout();
    chooseExportFile = [this] {
        const QString suggested =
            QStringLiteral("tessaly-%1.csv").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm")));
        return QFileDialog::getSaveFileName(this, QStringLiteral("导出成绩"), suggested, QStringLiteral("CSV (*.csv)"))
            .toStdString();
    };
    syncFromModel();
    // The client area has its fixed size; the menu bar comes on top of it.
    setFixedSize(sizeHint());
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::widget(const std::string& controlName) const {
    const Control* model = form_.control(controlName);
    auto it = widgetOf_.find(model);
    return it == widgetOf_.end() ? nullptr : it->second;
}

void MainWindow::bind(Control& model, QWidget* w) {
    bindings_.emplace_back(&model, w);
    widgetOf_[&model] = w;
    connectControl(model, w);
}

void MainWindow::bindMenu(MenuCommand& model, QAction* action) {
    connect(action, &QAction::triggered, this, [this, name = model.name] { forward([&] { input_.click(name); }); });
}

void MainWindow::connectControl(Control& model, QWidget* w) {
    const std::string name = model.name;
    auto click = [this, name] { forward([&] { input_.click(name); }); };
    // `clicked` comes from the user only (mouse, keyboard, arrow keys within a group),
    // never from the sync's setChecked.
    switch (model.kind) {
        case ControlKind::Button: connect(static_cast<QPushButton*>(w), &QPushButton::clicked, this, click); break;
        case ControlKind::OptionButton: connect(static_cast<QRadioButton*>(w), &QRadioButton::clicked, this, click); break;
        case ControlKind::CheckBox: connect(static_cast<QCheckBox*>(w), &QCheckBox::clicked, this, click); break;
        case ControlKind::TextBox:
            if (auto* answer = dynamic_cast<AnswerBox*>(w)) {
                // Every key, and every paste, passes the box's key handling.
                answer->onKey = [this, name](char32_t key) { forward([&] { input_.pressKey(name, key); }); };
                answer->onPaste = [this, name](const QString& text) { forward([&] { input_.paste(name, text.toStdString()); }); };
            } else {
                // Each user edit is one change; the logic may answer it by putting another text back.
                connect(static_cast<QLineEdit*>(w), &QLineEdit::textEdited, this,
                        [this, name](const QString& text) { forward([&] { input_.setText(name, text.toStdString()); }); });
            }
            break;
        case ControlKind::Slider: connectSlider(static_cast<QSlider*>(w), name); break;
        case ControlKind::ListView: {
            auto* list = static_cast<AnswerList*>(w);
            list->onMouseMove = [this, name] { forward([&] { input_.hover(name); }); };
            list->onRowDoubleClicked = [this](int row) { forward([&] { input_.replay(row); }); };
            list->onContextMenu = [this](int row, const QPoint& global) { listMenu(row)->exec(global); };
            break;
        }
        case ControlKind::MenuCommand:
        case ControlKind::Label: break;
    }
}

void MainWindow::connectSlider(QSlider* w, const std::string& name) {
    // Dragging scrolls (the value follows the thumb); letting go is the change.
    // Keys, wheel and clicks on the groove change the value at once.
    connect(w, &QSlider::sliderPressed, this, [this, w] { valueAtPress_[w] = w->value(); });
    connect(w, &QSlider::sliderMoved, this, [this, name](int value) { forward([&] { input_.scroll(name, value); }); });
    connect(w, &QSlider::sliderReleased, this, [this, w, name] {
        if (w->value() != valueAtPress_[w]) forward([&] { input_.endScroll(name); });
        else syncFromModel();
    });
    connect(w, &QSlider::valueChanged, this, [this, w, name](int value) {
        if (!w->isSliderDown()) forward([&] { input_.slide(name, value); });
    });
}

void MainWindow::syncControl(const Control& model, QWidget* w) {
    bool enabled = model.enabled;
    switch (model.kind) {
        case ControlKind::OptionButton: {
            auto* radio = static_cast<QRadioButton*>(w);
            if (static_cast<const OptionButton&>(model).value && !radio->isChecked()) radio->setChecked(true);
            break;
        }
        case ControlKind::CheckBox: {
            auto* box = static_cast<QCheckBox*>(w);
            const bool ticked = static_cast<const CheckBox&>(model).ticked();
            if (box->isChecked() != ticked) box->setChecked(ticked);
            break;
        }
        case ControlKind::Slider: {
            auto* slider = static_cast<QSlider*>(w);
            const int value = static_cast<const Slider&>(model).value;
            // While the user drags, the thumb leads and the control follows it.
            if (!slider->isSliderDown() && slider->value() != value) {
                const QSignalBlocker quiet(slider);
                slider->setValue(value);
            }
            break;
        }
        case ControlKind::TextBox: {
            const QString text = qs(static_cast<const TextBox&>(model).text());
            if (auto* answer = dynamic_cast<AnswerBox*>(w)) {
                answer->showText(text);
                // Until the load handler has run, the answer box shows the disabled
                // state the load gives it rather than the bare control's default.
                enabled = enabled && loaded_;
            } else if (auto* edit = static_cast<QLineEdit*>(w); edit->text() != text) {
                edit->setText(text);
            }
            break;
        }
        case ControlKind::Label: {
            auto* label = static_cast<QLabel*>(w);
            const QString caption = qs(static_cast<const Label&>(model).caption);
            if (label->text() != caption) label->setText(caption);
            break;
        }
        case ControlKind::ListView: {
            const auto& list = static_cast<const ListView&>(model);
            list_->showRows(list.rows);
            list_->showSelectedRow(list.selectedRow);
            setToolTipIfChanged(list_, list.toolTip);
            break;
        }
        case ControlKind::Button:
        case ControlKind::MenuCommand: break;
    }
    setEnabledIfChanged(w, enabled);
}

void MainWindow::syncFromModel() {
    for (auto& [model, w] : bindings_) syncControl(*model, w);
    // An open analysis follows each newly marked practice.
    if (analysis_ && analysis_->isVisible() && form_.review.analysis().practices() != analysedPractices_) {
        analysedPractices_ = form_.review.analysis().practices();
        analysis_->refresh();
    }
    if (!pendingFocus_.empty()) {
        QWidget* w = widget(pendingFocus_);
        if (w && w->isEnabled()) {
            w->setFocus(Qt::OtherFocusReason);
            pendingFocus_.clear();
        }
    }
}

std::unique_ptr<QMenu> MainWindow::listMenu(int row) {
    auto menu = std::make_unique<QMenu>(this);
    QAction* replay = menu->addAction(QStringLiteral("重听"));
    replay->setEnabled(form_.review.canReplay(row));
    connect(replay, &QAction::triggered, this, [this, row] { forward([&] { input_.replay(row); }); });
    connect(menu->addAction(QStringLiteral("错误分析")), &QAction::triggered, this, [this] { showAnalysis(); });
    QAction* drill = menu->addAction(QStringLiteral("侧重弱项"));
    drill->setCheckable(true);
    drill->setChecked(form_.review.drill());
    drill->setToolTip(QStringLiteral("下几次练习中,至少一半呼号含有最常听错的字符"));
    connect(drill, &QAction::toggled, this, [this](bool on) { forward([&] { input_.setDrill(on); }); });
    QAction* save = menu->addAction(QStringLiteral("导出成绩…"));
    save->setEnabled(!form_.practising && form_.review.canExport());
    connect(save, &QAction::triggered, this, [this] {
        const std::string path = chooseExportFile ? chooseExportFile() : std::string();
        if (!path.empty()) forward([&] { input_.exportResults(path); });
    });
    return menu;
}

AnalysisWindow* MainWindow::showAnalysis() {
    if (!analysis_) analysis_ = new AnalysisWindow(form_.review.analysis(), this);
    analysis_->refresh();
    analysedPractices_ = form_.review.analysis().practices();
    analysis_->show();
    analysis_->raise();
    return analysis_;
}

void MainWindow::showNoSoundNotice(bool shown) {
    if (noSound_->isVisible() != shown) noSound_->setVisible(shown);
}

void MainWindow::requestFocus(const std::string& controlName) { pendingFocus_ = controlName; }

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!quitting_) input_.close();
    event->accept();
    if (onClosed) onClosed();
}

void MainWindow::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    if (painted_) return;
    painted_ = true;
    if (onFirstPaint) onFirstPaint();
}

}  // namespace tessaly::qt
