#include "shell/qt/desktop_host.h"

#include "shell/qt/about_box.h"
#include "shell/qt/main_window.h"

#include <QMessageBox>
#include <QPushButton>

namespace tessaly::qt {

void DesktopHost::informationBox(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    // The window speaks Chinese, the About box's button included; Qt's own box would say "OK".
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

bool DesktopHost::questionBox(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

DesktopHost::DesktopHost(MessagePresenter presenter, std::function<void()> quit, QuestionPresenter asker)
    : presenter_(presenter ? std::move(presenter) : MessagePresenter(informationBox)),
      asker_(asker ? std::move(asker) : QuestionPresenter(questionBox)), quit_(std::move(quit)) {}

DesktopHost::~DesktopHost() { delete about_.data(); }

void DesktopHost::messageBox(const std::string& title, const std::string& text) {
    presenter_(window_, QString::fromStdString(title), QString::fromStdString(text));
}

bool DesktopHost::askYesNo(const std::string& title, const std::string& text) {
    return asker_(window_, QString::fromStdString(title), QString::fromStdString(text));
}

void DesktopHost::focusControl(const std::string& name) {
    if (window_) window_->requestFocus(name);
}

void DesktopHost::quitNow() {
    if (window_) window_->skipUnloadOnClose();
    if (quit_) quit_();
}

void DesktopHost::thresholdFound(double, double, int trials) {
    if (!window_) return;
    if (!threshold_) {
        threshold_ = new QMessageBox(QMessageBox::Information, QStringLiteral("阈值测试"), QString(), QMessageBox::Ok, window_);
        threshold_->button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
        threshold_->setModal(false);
        threshold_->setAttribute(Qt::WA_DeleteOnClose);
    }
    // The form has put the line under the list's summary: the same words here.
    threshold_->setText(QString::fromStdString(window_->form().practice().summaryAddition()));
    threshold_->setInformativeText(
        QStringLiteral("阈值是能听对一半呼号时的信噪比（%1 个呼号测得，括号内为误差）。数值越低，越能在噪音中听清；"
                       "隔几天再测一次，就能看出进步。")
            .arg(trials));
    threshold_->show();
    threshold_->raise();
}

void DesktopHost::closeAbout() {
    if (about_) about_->close();
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
