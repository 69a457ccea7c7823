#include "shell/qt/main_window.h"

#include "learning/answer_marks.h"
#include "shell/qt/analysis_window.h"
#include "shell/qt/answer_box.h"
#include "shell/qt/answer_list.h"
#include "tessaly_version.h"
#include "shell/qt/client_area.h"
#include "shell/qt/export_dialog.h"
#include "shell/qt/learning_menu.h"
#include "shell/qt/menu_corner.h"
#include "shell/qt/progress_window.h"
#include "shell/qt/setting_tips.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QScrollArea>
#include <QTimer>

#include <algorithm>

namespace tessaly::qt {

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }

void setEnabledIfChanged(QWidget* w, bool enabled) {
    if (w->isEnabled() != enabled) w->setEnabled(enabled);
}
void setToolTipIfChanged(QWidget* w, const QString& tip) {
    if (w->toolTip() != tip) w->setToolTip(tip);
}

// Before the window manager has framed a window its frame is unknown: room for a
// title bar and borders, generously (logical px).
constexpr QMargins kFrameGuess(6, 36, 6, 6);

// A window opened beside this one is never made narrower than this to keep the
// controls free (logical px): below it, it covers them instead.
constexpr int kNarrowest = 240;

QMargins frameOf(const QWidget* w) {
    const QRect outer = w->frameGeometry();
    const QRect inner = w->geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    return frame.isNull() || !w->isVisible() ? kFrameGuess : frame;
}
}  // namespace

MainWindow::MainWindow(Session& form, UserInput& input) : session_(form), form_(form.controls()), input_(input) {
    setWindowTitle(QStringLiteral("Tessaly V" TESSALY_VERSION "  BY Orvane"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    buildLayout();
    buildKeys();
    chooseExportFile = [this] {
        const auto dialog = exportDialog(this, exportFolder());
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::string();
        return dialog->selectedFiles().front().toStdString();
    };
    popUpMenu = [](QMenu& menu, const QPoint& global) { menu.exec(global); };
    syncFromModel();
    // The normal size is the design's; the window may grow, and shrinks only to fit a screen.
    resize(sizeHint());
    fitOnScreen();
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::widget(const std::string& controlName) const {
    const Control* model = form_.find(controlName);
    auto it = widgetOf_.find(model);
    return it == widgetOf_.end() ? nullptr : it->second;
}

void MainWindow::bind(Control& model, QWidget* w) {
    bindings_.push_back({&model, w});
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
        case ControlKind::Button:
            connect(static_cast<QPushButton*>(w), &QPushButton::clicked, this, click);
            w->installEventFilter(this);  // Enter presses the focused button
            break;
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
            list->onRowActivated = [this](int row) { forward([&] { input_.replay(row); }); };
            list->onContextMenu = [this](int row, const QPoint& global) {
                const auto menu = listMenu(row);
                popUpMenu(*menu, global);
            };
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
        else syncAll();
    });
    connect(w, &QSlider::valueChanged, this, [this, w, name](int value) {
        if (!w->isSliderDown()) forward([&] { input_.slide(name, value); });
    });
}

void MainWindow::buildKeys() {
    // F5 and F6: keys no callsign is typed with, so they work from the answer box too.
    auto key = [this](const char* name, Qt::Key shortcut) {
        auto* action = new QAction(this);
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, [this, name] {
            if (auto* button = qobject_cast<QPushButton*>(widget(name))) button->click();
        });
        return action;
    };
    start_ = key("Command4", Qt::Key_F5);
    stop_ = key("Command5", Qt::Key_F6);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Enter presses a focused button, as Space does.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            if (auto* button = qobject_cast<QPushButton*>(watched)) {
                button->click();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
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
            if (slider == speed_) setToolTipIfChanged(slider, speedTip(value));
            if (slider == tone_) setToolTipIfChanged(slider, toneTip(value));
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
            // 500 rows of four cells are compared only when the rows have changed.
            if (list.rowsRevision() != syncedRows_) {
                syncedRows_ = list.rowsRevision();
                list_->showRows(list.rows);
                copied_ = copiedRows(session_);
                showMarks();
            }
            list_->showSelectedRow(list.selectedRow);
            setToolTipIfChanged(list_, qs(list.toolTip));
            break;
        }
        case ControlKind::Button:
        case ControlKind::MenuCommand: break;
    }
    setEnabledIfChanged(w, enabled);
}

void MainWindow::syncFromModel() {
    if (syncEverything_) {
        syncEverything_ = false;
        syncAll();
        return;
    }
    if (form_.registry().revision() != syncedRevision_) {
        syncedRevision_ = form_.registry().revision();
        for (Binding& b : bindings_) {
            if (b.model->revision() == b.synced) continue;
            b.synced = b.model->revision();
            syncControl(*b.model, b.widget);
        }
    }
    syncRest();
}

void MainWindow::syncAll() {
    syncedRevision_ = form_.registry().revision();
    for (Binding& b : bindings_) {
        b.synced = b.model->revision();
        syncControl(*b.model, b.widget);
    }
    syncRest();
}

void MainWindow::syncRest() {
    const PracticeStatus status = feedbackShown_ ? qt::practiceStatus(session_, copied_) : PracticeStatus{};
    if (!(status == shownStatus_)) {
        shownStatus_ = status;
        corner_->showStatus(statusText(status));
    }
    // An open analysis follows each newly marked practice, and the learning record.
    const std::size_t record = session_.review().keeper().revision();
    if (analysis_ && analysis_->isVisible() &&
        (session_.review().analysis().practices() != analysedPractices_ || record != recordShown_)) {
        analysedPractices_ = session_.review().analysis().practices();
        analysis_->refresh();
    }
    if (progress_ && progress_->isVisible() && record != recordShown_) progress_->refresh();
    recordShown_ = record;
    if (!pendingFocus_.empty()) {
        QWidget* w = widget(pendingFocus_);
        if (w && w->isEnabled()) {
            w->setFocus(Qt::OtherFocusReason);
            pendingFocus_.clear();
        }
    }
}

void MainWindow::showMarks() {
    std::vector<std::optional<AnswerMarks>> marks;
    if (feedbackShown_) {
        const auto& rows = form_.ListView1.rows;
        const auto& record = session_.review().lastRecord().rows;
        marks.reserve(rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i][3].empty()) {
                marks.emplace_back();  // not marked: drawn as usual
                continue;
            }
            // A row left empty shows only its mark: its expected copy is not a list of mistakes.
            const bool answered = !rows[i][1].empty() && i < record.size() && !record[i].line.empty();
            marks.emplace_back(answered ? answerMarks(rows[i][1], record[i].line) : AnswerMarks{});
        }
    }
    list_->showMarks(std::move(marks), feedbackShown_);
}

void MainWindow::setFeedbackShown(bool shown) {
    if (shown == feedbackShown_) return;
    feedbackShown_ = shown;
    showMarks();
    syncRest();
}

QLabel* MainWindow::noSoundNotice() const { return corner_->noSoundNotice(); }
QLabel* MainWindow::practiceStatus() const { return corner_->status(); }

void MainWindow::showNoSoundNotice(bool shown) { corner_->showNoSoundNotice(shown); }

void MainWindow::refreshLearningMenu() {
    fillLearningMenu(*learning_, *this, LearningMenuPlace::MenuBar, list_->currentRowNumber());
}

std::unique_ptr<QMenu> MainWindow::listMenu(int row) {
    auto menu = std::make_unique<QMenu>(this);
    fillLearningMenu(*menu, *this, LearningMenuPlace::AnswerList, row);
    return menu;
}

AnalysisWindow* MainWindow::showAnalysis() {
    if (!analysis_) analysis_ = new AnalysisWindow(session_.review().analysis(), this, &session_.review().keeper());
    analysis_->refresh();
    analysedPractices_ = session_.review().analysis().practices();
    if (!analysis_->isVisible()) placeBeside(analysis_);
    analysis_->show();
    analysis_->raise();
    analysis_->activateWindow();
    return analysis_;
}

ProgressWindow* MainWindow::showProgress() {
    session_.review().rereadRecord();  // another window may have added to it
    if (!progress_) progress_ = new ProgressWindow(session_.review().keeper(), this);
    progress_->refresh();
    if (!progress_->isVisible()) placeBeside(progress_);
    progress_->show();
    progress_->raise();
    progress_->activateWindow();
    return progress_;
}

void MainWindow::placeBeside(QWidget* other) const {
    const QScreen* s = screen();
    if (!s) return;
    const QRect room = s->availableGeometry();
    const QRect main = frameGeometry();
    // Its frame is not known before it is shown: as this window's.
    const QMargins frame = frameOf(this);
    const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    // As large as what it shows, and never beyond the screen: its contents scroll.
    QSize size = other->sizeHint().boundedTo(room.size() - frameSize);
    constexpr int kGap = 8;  // px
    QPoint at(main.right() + 1 + kGap, main.top());
    if (at.x() + size.width() + frameSize.width() > room.right() + 1) {
        if (main.left() - kGap - size.width() - frameSize.width() >= room.left()) {
            at.setX(main.left() - kGap - size.width() - frameSize.width());
        } else {
            // No room beside: over the answer list, leaving the settings, 开始 and 停止
            // free as long as it keeps a usable width.
            at.setX(room.left());
            const int controls = std::min({clientArea()->settingsScroll()->mapToGlobal(QPoint()).x(),
                                           widget("Command4")->mapToGlobal(QPoint()).x(),
                                           widget("Command5")->mapToGlobal(QPoint()).x()});
            const int free = controls - kGap - room.left() - frameSize.width();
            if (size.width() > free) size.setWidth(std::max(free, std::min(size.width(), kNarrowest)));
        }
    }
    at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() + 1 - size.height() - frameSize.height())));
    other->resize(size);
    other->move(at);
}

QString MainWindow::exportFolder() const { return exportFolder_.isEmpty() ? QDir::homePath() : exportFolder_; }

void MainWindow::exportResults() {
    const std::string path = chooseExportFile ? chooseExportFile() : std::string();
    if (path.empty()) return;
    bool written = false;
    forward([&] { input_.exportResults(path, &written); });
    if (!written) return;  // the logic has said why
    const QFileInfo file(qs(path));
    exportFolder_ = file.absolutePath();
    session_.host().messageBox("导出成绩", "成绩已保存到：\n" + QDir::toNativeSeparators(file.absoluteFilePath()).toStdString());
}

void MainWindow::fitOnScreen() {
    const QScreen* s = screen();
    if (!s) return;
    const QRect room = s->availableGeometry();
    const QMargins frame = frameOf(this);
    const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QSize size = sizeHint().boundedTo(room.size() - frameSize).expandedTo(minimumSizeHint());
    if (size != this->size()) resize(size);
    const QSize outer = size + frameSize;
    const QPoint at(std::clamp(pos().x(), room.left(), std::max(room.left(), room.right() + 1 - outer.width())),
                    std::clamp(pos().y(), room.top(), std::max(room.top(), room.bottom() + 1 - outer.height())));
    if (at != pos()) move(at);
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
    // The window manager has framed the window by now: fit it again with the real frame.
    QTimer::singleShot(0, this, [this] { fitOnScreen(); });
    if (onFirstPaint) onFirstPaint();
}

}  // namespace tessaly::qt
