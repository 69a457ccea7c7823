#pragma once
// The 学习 menu: what helps a learner beyond the practice itself, in one list.
// Each item adds its action (or a submenu) to a menu when the menu opens, so its
// state is always current; an item that acts on a row of the answer list shows in
// the list's context menu as well. Adding a feature to the menu is one entry in
// the list in learning_menu.cpp.
class QMenu;

namespace tessaly::qt {

class MainWindow;

enum class LearningMenuPlace { MenuBar, AnswerList };

// Fills `menu`, emptied first, for row `row` of the answer list (1-based, 0 for none).
void fillLearningMenu(QMenu& menu, MainWindow& window, LearningMenuPlace place, int row);

}  // namespace tessaly::qt
