#pragma once
// The answer box. Every key goes to the practice logic, which upper-cases letters,
// takes Enter as "confirm" and decides what the box holds; the widget only shows
// the result. The logic appends and deletes at the end only, so the caret stays
// at the end: no caret movement, no selection, no mouse editing.
#include <QLineEdit>

#include <functional>

namespace tessaly::qt {

class AnswerBox final : public QLineEdit {
public:
    explicit AnswerBox(QWidget* parent = nullptr);

    std::function<void(char32_t key)> onKey;       // a typed character, 8 (Backspace) or 13 (Enter)
    std::function<void(const QString&)> onPaste;   // pasted text, without line breaks

    // Shows the logic's text with the caret at its end.
    void showText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

}  // namespace tessaly::qt
