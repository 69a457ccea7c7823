#pragma once
// The main window's client area at any size. At its normal size (the design's
// 9375 x 7890 twips) every part stands where the layout put it. Larger, the answer
// list takes the room: the settings column keeps its layout at the right, its top
// at the top and its buttons and answer box beside the list's bottom. Smaller (a
// small or magnified screen), the list gives up room first and the settings frame
// scrolls, so that the clock, the buttons and the answer box always show.
#include <QWidget>

#include <utility>
#include <vector>

class QScrollArea;

namespace tessaly::qt {

class ClientArea final : public QWidget {
public:
    explicit ClientArea(QWidget* parent = nullptr);

    // The normal size, in pixels.
    static QSize normalSize();

    // The parts, each already placed where it stands at the normal size. `settings`
    // moves into a scroll area of its own, at the same place.
    void setList(QWidget* list);
    void addColumnTop(QWidget* part);
    void setSettings(QWidget* settings);
    void addColumnBottom(QWidget* part);
    QScrollArea* settingsScroll() const { return scroll_; }

    QSize sizeHint() const override { return normalSize(); }
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void place();
    int scrollBarWidth() const;

    QWidget* list_ = nullptr;
    QRect listAt_;
    std::vector<std::pair<QWidget*, QRect>> top_, bottom_;
    QScrollArea* scroll_ = nullptr;
    QRect settingsAt_;
};

}  // namespace tessaly::qt
