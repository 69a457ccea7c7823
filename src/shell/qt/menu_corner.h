#pragma once
// The right of the menu bar: where the practice stands, and while no sound device
// plays, a quiet notice. Both sit above the practice: they move and cover nothing
// of it.
#include <QWidget>

class QLabel;

namespace tessaly::qt {

class MenuCorner final : public QWidget {
public:
    explicit MenuCorner(QWidget* parent = nullptr);

    QLabel* status() const { return status_; }
    QLabel* noSoundNotice() const { return noSound_; }
    // An empty text hides the status.
    void showStatus(const QString& text);
    void showNoSoundNotice(bool shown);
    // The menu bar makes itself as high as its corner asks: the corner asks no more
    // than leaves the bar as high as its menus alone make it. Called once it is in its bar.
    void fitTheBarsHeight(const QWidget& bar);
    QSize sizeHint() const override;

private:
    void refit();

    QLabel* status_;
    QLabel* noSound_;
    QSize laidOut_;
    int mostHeight_ = 0;
};

}  // namespace tessaly::qt
