#pragma once
// The answer list: four columns with empty headers (row number, answer, expected
// copy, mark). It shows the logic's rows, changing only the cells that changed,
// reports every mouse move over its rows, and shows its own tooltip over the rows
// (the rows themselves have none).
#include <QTreeWidget>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace tessaly::qt {

class AnswerList final : public QTreeWidget {
public:
    using Row = std::array<std::string, 4>;

    explicit AnswerList(QWidget* parent = nullptr);

    std::function<void()> onMouseMove;
    std::function<void(int row)> onRowDoubleClicked;                 // 1-based
    std::function<void(int row, const QPoint& global)> onContextMenu;  // row 0: below the rows

    void showRows(const std::vector<Row>& rows);
    // 1-based; 0 for none. Scrolls the row into view.
    void showSelectedRow(int row);
    int shownSelectedRow() const { return selected_; }

protected:
    bool viewportEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    std::vector<Row> shown_;
    int selected_ = 0;
};

}  // namespace tessaly::qt
