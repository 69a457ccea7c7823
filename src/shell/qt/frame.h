#pragma once
// A captioned frame drawn the way the layout's coordinates expect: an etched
// border whose top line runs through the middle of the caption, so that controls
// placed a caption's height below the frame's top sit inside it. (Style-drawn
// group boxes put the caption above the border and would cut through them.)
#include <QWidget>

namespace tessaly::qt {

class Frame final : public QWidget {
public:
    Frame(const QString& caption, QWidget* parent);
    QString caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
};

}  // namespace tessaly::qt
