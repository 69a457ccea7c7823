#include "shell/qt/main_window.h"

#include "shell/qt/answer_box.h"
#include "shell/qt/answer_list.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
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
    setWindowTitle(QStringLiteral("Tessaly V2.0  BY Orvane"));
    // Fixed single border: minimise and close, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    buildLayout();
    connectControls();
    syncFromModel();
    // The client area has its fixed size; the menu bar comes on top of it.
    setFixedSize(sizeHint());
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::widget(const std::string& controlName) const {
    auto it = widgets_.find(controlName);
    return it == widgets_.end() ? nullptr : it->second;
}

void MainWindow::connectControls() {
    auto click = [this](const std::string& name) { forward([this, name] { input_.click(name); }); };
    connect(command4_, &QPushButton::clicked, this, [click] { click("Command4"); });
    connect(command5_, &QPushButton::clicked, this, [click] { click("Command5"); });
    // `clicked` comes from the user only (mouse, keyboard, arrow keys within a group),
    // never from the sync's setChecked.
    for (auto& [model, widget] : options_)
        connect(widget, &QRadioButton::clicked, this, [click, name = model->name] { click(name); });
    for (auto& [model, widget] : checks_)
        connect(widget, &QCheckBox::clicked, this, [click, name = model->name] { click(name); });
    connect(quit_, &QAction::triggered, this, [click] { click("mquit"); });
    connect(about_, &QAction::triggered, this, [click] { click("mabout"); });

    // Each user edit of the group count is one change; the logic answers a bad
    // entry with a message and puts "10" back.
    connect(text2_, &QLineEdit::textEdited, this,
            [this](const QString& text) { forward([&] { input_.setText("Text2", text.toStdString()); }); });

    text6_->onKey = [this](char32_t key) { forward([&] { input_.pressKey("Text6", key); }); };
    text6_->onPaste = [this](const QString& pasted) {
        // A paste reaches the box without passing the key handling (no upper-casing).
        forward([&] { input_.setText("Text6", form_.Text6.text() + pasted.toStdString()); });
    };

    list_->onMouseMove = [this] { forward([this] { input_.hover("ListView1"); }); };

    connectSlider(slider1_, form_.Slider1.name);
    connectSlider(slider2_, form_.Slider2.name);
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

void MainWindow::syncFromModel() {
    for (auto& [model, widget] : options_) {
        setEnabledIfChanged(widget, model->enabled);
        if (model->value && !widget->isChecked()) widget->setChecked(true);
    }
    for (auto& [model, widget] : checks_) {
        setEnabledIfChanged(widget, model->enabled);
        if (widget->isChecked() != model->ticked()) widget->setChecked(model->ticked());
    }
    for (auto [model, widget] : {std::pair{&form_.Slider1, slider1_}, std::pair{&form_.Slider2, slider2_}}) {
        setEnabledIfChanged(widget, model->enabled);
        // While the user drags, the thumb leads and the control follows it.
        if (!widget->isSliderDown() && widget->value() != model->value) {
            const QSignalBlocker quiet(widget);
            widget->setValue(model->value);
        }
    }

    setEnabledIfChanged(text2_, form_.Text2.enabled);
    if (text2_->text() != qs(form_.Text2.text())) text2_->setText(qs(form_.Text2.text()));
    setEnabledIfChanged(text6_, loaded_ && form_.Text6.enabled);
    text6_->showText(qs(form_.Text6.text()));
    setEnabledIfChanged(command4_, form_.Command4.enabled);
    setEnabledIfChanged(command5_, form_.Command5.enabled);

    if (label6_->text() != qs(form_.Label6.caption)) label6_->setText(qs(form_.Label6.caption));
    list_->showRows(form_.ListView1.rows);
    list_->showSelectedRow(form_.ListView1.selectedRow);
    setToolTipIfChanged(list_, form_.ListView1.toolTip);
    setEnabledIfChanged(list_, form_.ListView1.enabled);

    if (!pendingFocus_.empty()) {
        QWidget* w = widget(pendingFocus_);
        if (w && w->isEnabled()) {
            w->setFocus(Qt::OtherFocusReason);
            pendingFocus_.clear();
        }
    }
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
