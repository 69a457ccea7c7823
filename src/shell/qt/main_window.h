#pragma once
// The main window: widgets that mirror the practice logic's controls. Widget
// events become UserInput calls (the one way user actions reach the logic) and,
// after each of them and after every timer tick, the widgets are brought up to
// date from the controls. No practice logic lives here.
#include "form/session.h"
#include "form/user_input.h"
#include "shell/qt/practice_status.h"

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QMenu;
class QLabel;
class QPushButton;
class QSlider;

namespace tessaly::qt {

class AnalysisWindow;
class AnswerBox;
class ProgressWindow;
class AnswerList;
class ClientArea;
class MenuCorner;

class MainWindow final : public QMainWindow {
public:
    MainWindow(Session& form, UserInput& input);
    ~MainWindow() override;

    // After a timer tick: brings up to date the widgets of the controls that changed
    // since the last time (by their revisions), the list only when its rows changed.
    // Sets a text only when it differs, so the caret does not jump.
    void syncFromModel();
    // Keyboard focus to a control's widget, as soon as it is enabled.
    void requestFocus(const std::string& controlName);
    // Until the load handler has run, the answer box shows the disabled state the
    // load gives it rather than the bare control's default.
    void setLoaded() {
        loaded_ = true;
        syncEverything_ = true;
    }
    // The quit command ends the program without the unload step.
    void skipUnloadOnClose() { quitting_ = true; }

    // The right of the menu bar: where the practice stands, and a quiet notice
    // while no sound device plays. They move and cover nothing of the practice.
    void showNoSoundNotice(bool shown);
    QLabel* noSoundNotice() const;
    QLabel* practiceStatus() const;

    // ---- learning
    // The 学习 menu of the menu bar, filled afresh each time it opens.
    QMenu* learningMenu() const { return learning_; }
    void refreshLearningMenu();
    // The answer list's context menu for row `row` (0: no row), as the right mouse
    // button, the Menu key or Shift+F10 opens it: 重听, 错误分析, 侧重弱项, 导出成绩….
    std::unique_ptr<QMenu> listMenu(int row);
    // Shows a context menu; replaced by the tests, which cannot wait in a menu's loop.
    std::function<void(QMenu& menu, const QPoint& global)> popUpMenu;
    // The error analysis window, shown beside this one (made on first use).
    AnalysisWindow* showAnalysis();
    AnalysisWindow* analysisWindow() const { return analysis_; }
    // 学习进度: the learning record over days, beside this window (made on first use).
    ProgressWindow* showProgress();
    ProgressWindow* progressWindow() const { return progress_; }
    // 导出成绩…: asks where, writes, and says where the file went.
    void exportResults();
    // Where 导出成绩… writes: a file dialog unless replaced; "" when cancelled.
    std::function<std::string()> chooseExportFile;
    // The folder the dialog opens in: the home folder, then the last one used.
    QString exportFolder() const;
    // The marks in the list, the score and the practice's progress (on by default).
    bool feedbackShown() const { return feedbackShown_; }
    void setFeedbackShown(bool shown);

    // For the learning menu's items: the logic as it stands, and a user's action on it.
    const Session& form() const { return session_; }
    void act(const std::function<void(UserInput&)>& action) {
        forward([&] { action(input_); });
    }

    // ---- screens
    // The normal size when the screen has room for it, else the room there is, with
    // the window's frame inside the screen's available area.
    void fitOnScreen();

    // The widget of a control, by the control's name ("Text6", "Option7(4)", ...).
    QWidget* widget(const std::string& controlName) const;
    AnswerBox* answerBox() const { return text6_; }
    AnswerList* answerList() const { return list_; }
    ClientArea* clientArea() const { return client_; }
    QLabel* clockLabel() const { return label6_; }
    QAction* quitAction() const { return quit_; }
    QAction* aboutAction() const { return about_; }
    // 开始 and 停止 from anywhere in the window, the answer box included.
    QAction* startAction() const { return start_; }
    QAction* stopAction() const { return stop_; }

    std::function<void()> onClosed;      // after the unload step
    std::function<void()> onFirstPaint;  // once, when the window first paints
    std::function<void()> onActionBeforeLoad;  // runs the load now (it may wait for the sound worker)

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Binding {
        Control* model;
        QWidget* widget;
        std::uint64_t synced = 0;  // the control's revision last shown
    };

    void buildLayout();  // main_window_layout.cpp
    void buildKeys();
    // The widget that shows a control; its events go to UserInput by the control's kind.
    void bind(Control& model, QWidget* widget);
    void bindMenu(MenuCommand& model, QAction* action);
    void connectControl(Control& model, QWidget* widget);
    void syncControl(const Control& model, QWidget* widget);
    // Every control, as after a user's action: the widget may have gone its own way.
    void syncAll();
    void syncRest();  // what is not a control's: marks, status, analysis, focus
    void showMarks();
    // A user's action reaches the logic once it is loaded: the window paints a
    // moment before, and an action in that moment first has the load finished.
    template <class Action>
    void forward(Action&& action) {
        if (!loaded_ && onActionBeforeLoad) onActionBeforeLoad();
        if (loaded_) std::forward<Action>(action)();
        syncAll();
    }
    void connectSlider(QSlider* widget, const std::string& name);
    void placeBeside(QWidget* window) const;

    Session& session_;
    WindowControls& form_;  // the controls the widgets show
    UserInput& input_;
    bool loaded_ = false;
    bool quitting_ = false;
    bool painted_ = false;
    bool syncEverything_ = true;
    std::string pendingFocus_;

    std::vector<Binding> bindings_;  // in the window's order
    std::map<const Control*, QWidget*> widgetOf_;
    std::uint64_t syncedRevision_ = 0;     // the form's, last time
    std::uint64_t syncedRows_ = 0;         // the list's rows', last time
    ClientArea* client_ = nullptr;
    AnswerList* list_ = nullptr;
    QLabel* label6_ = nullptr;
    AnswerBox* text6_ = nullptr;
    QSlider* speed_ = nullptr;
    QSlider* tone_ = nullptr;
    QAction* quit_ = nullptr;
    QAction* about_ = nullptr;
    QAction* start_ = nullptr;
    QAction* stop_ = nullptr;
    QMenu* learning_ = nullptr;
    MenuCorner* corner_ = nullptr;
    PracticeStatus shownStatus_;
    int copied_ = 0;  // rows marked Y, counted when the rows change
    bool feedbackShown_ = true;
    QString exportFolder_;
    AnalysisWindow* analysis_ = nullptr;
    int analysedPractices_ = 0;
    ProgressWindow* progress_ = nullptr;
    std::size_t recordShown_ = 0;  // the learning record's revision the open windows show
    std::map<QSlider*, int> valueAtPress_;
};

}  // namespace tessaly::qt
