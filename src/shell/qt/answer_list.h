#pragma once
// The answer list: four columns with empty headers (row number, answer, expected
// copy, mark). It shows the logic's rows, changing only the cells that changed,
// reports every mouse move over its rows, and shows its own tooltip over the rows
// (the rows themselves have none). Marked rows may show their marks (which
// characters were wrong, Y and N in colour); the keyboard reaches every row:
// Enter or Space acts on the current row, the Menu key and Shift+F10 open its
// context menu, and the list shows when it has the focus.
#include "learning/answer_marks.h"

#include <QTreeWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tessaly::qt {

class AnswerList final : public QTreeWidget {
public:
    using Row = std::array<std::string, 4>;

    explicit AnswerList(QWidget* parent = nullptr);

    std::function<void()> onMouseMove;
    std::function<void(int row)> onRowDoubleClicked;                 // 1-based
    std::function<void(int row)> onRowActivated;                     // Enter or Space on the current row
    std::function<void(int row, const QPoint& global)> onContextMenu;  // row 0: below the rows, or none current

    void showRows(const std::vector<Row>& rows);
    // 1-based; 0 for none. Scrolls the row into view.
    void showSelectedRow(int row);
    int shownSelectedRow() const { return selected_; }
    // The row the keyboard is on (1-based), 0 for none.
    int currentRowNumber() const;

    // Marks per row, index = row - 1; rows without are drawn as usual. Shown only while `shown`.
    void showMarks(std::vector<std::optional<AnswerMarks>> marks, bool shown);
    const AnswerMarks* marksOf(int row) const;  // 1-based; null when none shown

protected:
    bool viewportEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    void openContextMenuForCurrentRow();

    std::vector<Row> shown_;
    int selected_ = 0;
    std::vector<std::optional<AnswerMarks>> marks_;
    bool marksShown_ = false;
};

}  // namespace tessaly::qt
