#pragma once
// The main window: widgets that mirror the practice logic's controls. Widget
// events become UserInput calls (the one way user actions reach the logic) and,
// after each of them and after every timer tick, the widgets are brought up to
// date from the controls. No practice logic lives here.
#include "form/main_form.h"
#include "form/user_input.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QMenu;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace tessaly::qt {

class AnalysisWindow;
class AnswerBox;
class AnswerList;

class MainWindow final : public QMainWindow {
public:
    MainWindow(MainForm& form, UserInput& input);
    ~MainWindow() override;

    // Brings every widget up to date with its control; sets a text only when it
    // differs, so the caret does not jump.
    void syncFromModel();
    // Keyboard focus to a control's widget, as soon as it is enabled.
    void requestFocus(const std::string& controlName);
    // Until the load handler has run, the answer box shows the disabled state the
    // load gives it rather than the bare control's default.
    void setLoaded() { loaded_ = true; }
    // The quit command ends the program without the unload step.
    void skipUnloadOnClose() { quitting_ = true; }

    // A quiet notice at the right of the menu bar while no sound device plays; it
    // moves and covers nothing of the practice.
    void showNoSoundNotice(bool shown);
    QLabel* noSoundNotice() const { return noSound_; }

    // The answer list's context menu for row `row` (0: no row), as the right mouse
    // button opens it: 重听, 错误分析, 侧重弱项, 导出成绩….
    std::unique_ptr<QMenu> listMenu(int row);
    // The error analysis window, shown (made on first use).
    AnalysisWindow* showAnalysis();
    AnalysisWindow* analysisWindow() const { return analysis_; }
    // Where 导出成绩… writes: a file dialog unless replaced; "" when cancelled.
    std::function<std::string()> chooseExportFile;

    // The widget of a control, by the control's name ("Text6", "Option7(4)", ...).
    QWidget* widget(const std::string& controlName) const;
    AnswerBox* answerBox() const { return text6_; }
    AnswerList* answerList() const { return list_; }
    QLabel* clockLabel() const { return label6_; }
    QAction* quitAction() const { return quit_; }
    QAction* aboutAction() const { return about_; }

    std::function<void()> onClosed;      // after the unload step
    std::function<void()> onFirstPaint;  // once, when the window first paints
    std::function<void()> onActionBeforeLoad;  // runs the load now (it may wait for the sound worker)

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildLayout();  // main_window_layout.cpp
    // The widget that shows a control; its events go to UserInput by the control's kind.
    void bind(Control& model, QWidget* widget);
    void bindMenu(MenuCommand& model, QAction* action);
    void connectControl(Control& model, QWidget* widget);
    void syncControl(const Control& model, QWidget* widget);
    // A user's action reaches the logic once it is loaded: the window paints a
    // moment before, and an action in that moment first has the load finished.
    template <class Action>
    void forward(Action&& action) {
        if (!loaded_ && onActionBeforeLoad) onActionBeforeLoad();
        if (loaded_) std::forward<Action>(action)();
        syncFromModel();
    }
    void connectSlider(QSlider* widget, const std::string& name);

    MainForm& form_;
    UserInput& input_;
    bool loaded_ = false;
    bool quitting_ = false;
    bool painted_ = false;
    std::string pendingFocus_;

    std::vector<std::pair<Control*, QWidget*>> bindings_;  // in the window's order
    std::map<const Control*, QWidget*> widgetOf_;
    AnswerList* list_ = nullptr;
    QLabel* label6_ = nullptr;
    AnswerBox* text6_ = nullptr;
    QAction* quit_ = nullptr;
    QAction* about_ = nullptr;
    QLabel* noSound_ = nullptr;
    AnalysisWindow* analysis_ = nullptr;
    int analysedPractices_ = 0;
    std::map<QSlider*, int> valueAtPress_;
};

}  // namespace tessaly::qt
