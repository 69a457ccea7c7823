#include "shell/qt/learning_menu.h"

#include "shell/qt/main_window.h"

#include <QAction>
#include <QMenu>

namespace tessaly::qt {

namespace {

struct LearningItem {
    bool inAnswerList;  // also in the answer list's context menu
    void (*add)(QMenu& menu, MainWindow& window, int row);
};

// 重听: the row's callsign once more, with the current word set, speed and tone.
void addReplay(QMenu& menu, MainWindow& w, int row) {
    QAction* replay = menu.addAction(QStringLiteral("重听"));
    replay->setEnabled(w.form().review.canReplay(row));
    QObject::connect(replay, &QAction::triggered, &w, [&w, row] { w.act([row](UserInput& in) { in.replay(row); }); });
}

// 错误分析: every marked practice since the program started, character by character.
void addAnalysis(QMenu& menu, MainWindow& w, int) {
    QObject::connect(menu.addAction(QStringLiteral("错误分析")), &QAction::triggered, &w, [&w] { w.showAnalysis(); });
}

// 侧重弱项: the next practices favour the characters most often missed.
void addDrill(QMenu& menu, MainWindow& w, int) {
    QAction* drill = menu.addAction(QStringLiteral("侧重弱项"));
    drill->setCheckable(true);
    drill->setChecked(w.form().review.drill());
    drill->setToolTip(QStringLiteral("下几次练习中，至少一半呼号含有最常听错的字符"));
    QObject::connect(drill, &QAction::toggled, &w, [&w](bool on) { w.act([on](UserInput& in) { in.setDrill(on); }); });
}

// 导出成绩…: the marked list as a CSV file, where the user chooses.
void addExport(QMenu& menu, MainWindow& w, int) {
    QAction* save = menu.addAction(QStringLiteral("导出成绩…"));
    save->setEnabled(!w.form().practising && w.form().review.canExport());
    QObject::connect(save, &QAction::triggered, &w, [&w] { w.exportResults(); });
}

// 显示对错与进度: the marks in the list, the score and the practice's progress.
void addFeedback(QMenu& menu, MainWindow& w, int) {
    menu.addSeparator();
    QAction* feedback = menu.addAction(QStringLiteral("显示对错与进度"));
    feedback->setCheckable(true);
    feedback->setChecked(w.feedbackShown());
    feedback->setToolTip(QStringLiteral("答案中写错的字符、彩色的 Y 和 N、成绩和练习进行到哪里"));
    QObject::connect(feedback, &QAction::toggled, &w, [&w](bool on) { w.setFeedbackShown(on); });
}

// The items, in the menu's order.
constexpr LearningItem kLearningItems[] = {
    {true, addReplay}, {true, addAnalysis}, {true, addDrill}, {true, addExport}, {false, addFeedback},
};

}  // namespace

void fillLearningMenu(QMenu& menu, MainWindow& window, LearningMenuPlace place, int row) {
    menu.clear();
    menu.setToolTipsVisible(true);
    for (const LearningItem& item : kLearningItems)
        if (place == LearningMenuPlace::MenuBar || item.inAnswerList) item.add(menu, window, row);
}

}  // namespace tessaly::qt
