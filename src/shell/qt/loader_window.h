#pragma once
// The small window on the screen while the program starts: "loading, please wait".
#include <QWidget>

#include <functional>

namespace tessaly::qt {

class LoaderWindow final : public QWidget {
public:
    LoaderWindow();
    std::function<void()> onFirstPaint;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool painted_ = false;
};

}  // namespace tessaly::qt
