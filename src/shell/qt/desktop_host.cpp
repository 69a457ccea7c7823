#include "shell/qt/desktop_host.h"

#include "shell/qt/about_box.h"
#include "shell/qt/main_window.h"

#include <QMessageBox>

namespace tessaly::qt {

void DesktopHost::informationBox(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text);
}

DesktopHost::DesktopHost(MessagePresenter presenter, std::function<void()> quit)
    : presenter_(presenter ? std::move(presenter) : MessagePresenter(informationBox)), quit_(std::move(quit)) {}

DesktopHost::~DesktopHost() { delete about_.data(); }

void DesktopHost::messageBox(const std::string& title, const std::string& text) {
    presenter_(window_, QString::fromStdString(title), QString::fromStdString(text));
}

void DesktopHost::focusControl(const std::string& name) {
    if (window_) window_->requestFocus(name);
}

void DesktopHost::quitNow() {
    if (window_) window_->skipUnloadOnClose();
    if (quit_) quit_();
}

AboutBox* DesktopHost::aboutBox() const {
    // A closed box is gone already, or about to be deleted.
    return about_ && about_->isVisible() ? about_.data() : nullptr;
}

void DesktopHost::showAbout() {
    if (AboutBox* open = aboutBox()) {
        open->raise();
        open->activateWindow();
        return;
    }
    about_ = new AboutBox;
    about_->show();
}

}  // namespace tessaly::qt
