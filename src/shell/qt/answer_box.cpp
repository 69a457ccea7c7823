#include "shell/qt/answer_box.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

namespace tessaly::qt {

AnswerBox::AnswerBox(QWidget* parent) : QLineEdit(parent) {
    // Callsigns are Latin letters, digits and "/": an input method would only get
    // between the key and the logic.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setContextMenuPolicy(Qt::NoContextMenu);
    setDragEnabled(false);
    setAcceptDrops(false);
}

void AnswerBox::showText(const QString& t) {
    // Called after every timer tick (every 10 ms while practising): touch nothing
    // that is already right.
    if (t != text()) setText(t);
    if (hasSelectedText()) deselect();
    const int end = static_cast<int>(text().size());
    if (cursorPosition() != end) setCursorPosition(end);
}

void AnswerBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        QString pasted = QGuiApplication::clipboard()->text();
        pasted.remove('\r').remove('\n');
        if (onPaste && !pasted.isEmpty()) onPaste(pasted);
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (onKey) onKey(13);
            return;
        case Qt::Key_Backspace:
            if (onKey) onKey(8);
            return;
        case Qt::Key_Escape:
            event->ignore();  // for whoever wants it; the box takes no Esc
            return;
        default:
            break;
    }
    const auto mods = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier);
    const QString text = event->text();
    if (mods || text.isEmpty()) return;  // caret keys, Delete, shortcuts: the caret stays at the end
    for (char32_t key : text.toUcs4())
        if (key >= 32 && key != 127 && onKey) onKey(key);
}

void AnswerBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Tabbing in would select the text, and the next key would seem to replace it.
    showText(text());
}

void AnswerBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) setFocus(Qt::MouseFocusReason);
    event->accept();
}

// Selection and the middle-button paste of X11 stay out: the caret stays at the end.
void AnswerBox::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }
void AnswerBox::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }
void AnswerBox::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

}  // namespace tessaly::qt
